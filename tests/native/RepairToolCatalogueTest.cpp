// The catalogue's record layout, through the item reader as the page reads it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/ItemReader.h"
#include "tools/ToolCatalogue.h"

namespace kelvane {
namespace {

// The records of an ASCII catalogue, as the page gets them.
std::vector<std::wstring> records(const std::string& bytes) {
  std::vector<std::wstring> wide;
  for (const std::string& item : readItems(bytes)) wide.emplace_back(item.begin(), item.end());
  return wide;
}

TEST(ToolRecordLayout, TheFileNameStartsAtTheFirstAsciiLetterAfterTheTab) {
  EXPECT_EQ(parseToolRecord(L"Flush\tflush.cmd"), (ToolRecord{L"Flush", L"flush.cmd"}));
  // Digits, punctuation, blanks and further TABs after the TAB are all dropped.
  EXPECT_EQ(parseToolRecord(L"Net\t 12. -\t\tnet\\fix.cmd"), (ToolRecord{L"Net", L"net\\fix.cmd"}));
  EXPECT_EQ(parseToolRecord(L"清理\t\t\t  \u3000①Clean.cmd"), (ToolRecord{L"清理", L"Clean.cmd"}));
  // Only the first TAB ends the caption; later TABs and blanks inside the name stay.
  EXPECT_EQ(parseToolRecord(L"a b\tx\ty z.cmd "), (ToolRecord{L"a b", L"x\ty z.cmd "}));
  EXPECT_EQ(parseToolRecord(L"\tlead.cmd"), (ToolRecord{L"", L"lead.cmd"}));
}

TEST(ToolRecordLayout, WithoutALetterAfterTheTabTheFileNameKeepsTheTab) {
  EXPECT_EQ(parseToolRecord(L"Odd\t 123"), (ToolRecord{L"Odd", L"\t 123"}));
  EXPECT_EQ(parseToolRecord(L"Bare\t"), (ToolRecord{L"Bare", L"\t"}));
}

TEST(ToolRecordLayout, ARecordWithoutATabNamesNoTool) {
  EXPECT_EQ(parseToolRecord(L""), std::nullopt);
  EXPECT_EQ(parseToolRecord(L"no tab here.cmd"), std::nullopt);
}

TEST(ToolRecordLayout, AnOverlongCaptionIsCutWithAnEllipsisButTheFileNameIsKept) {
  const std::wstring caption(1 << 20, L'长');
  const std::optional<ToolRecord> entry = parseToolRecord(caption + L"\tSysSummary.cmd");
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->caption, std::wstring(MaxToolCaptionChars - 1, L'长') + L"…");
  EXPECT_EQ(entry->file, L"SysSummary.cmd");
  const std::wstring fits(MaxToolCaptionChars, L'a');
  EXPECT_EQ(parseToolRecord(fits + L"\tx.cmd")->caption, fits);
  // An emoji (two UTF-16 units, spelled out so the test means the same where
  // wchar_t is 32 bits) at the cut goes whole.
  const std::wstring emoji = std::wstring(MaxToolCaptionChars - 2, L'a') + L"\xD83D\xDE00\xD83D\xDE00";
  EXPECT_EQ(shortenedText(emoji, MaxToolCaptionChars), std::wstring(MaxToolCaptionChars - 2, L'a') + L"…");
}

TEST(ToolCatalogueFile, ACommaOutsideQuotesSplitsALineAndEachPartNeedsItsOwnTab) {
  const std::vector<ToolRecord> entries =
      toolEntries(records("One\tone.cmd,Two\ttwo.cmd\r\nThree\tthree.cmd, four.cmd\r\n"));
  // " four.cmd" has no TAB: it is skipped, not turned into a button.
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0], (ToolRecord{L"One", L"one.cmd"}));
  EXPECT_EQ(entries[1], (ToolRecord{L"Two", L"two.cmd"}));
  EXPECT_EQ(entries[2], (ToolRecord{L"Three", L"three.cmd"}));
}

TEST(ToolCatalogueFile, AQuotedCommaStaysInItsRecord) {
  const std::vector<ToolRecord> entries = toolEntries(records("\"Scan, then fix\tfix,all.cmd\"\r\n"));
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0], (ToolRecord{L"Scan, then fix", L"fix,all.cmd"}));
}

TEST(ToolCatalogueFile, BlankLinesAreSkippedAndTheRestStillLoads) {
  const std::vector<ToolRecord> entries = toolEntries(records("\r\nA\ta.cmd\r\n\r\n\r\nB\tb.cmd\r\n\r\n"));
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[1].file, L"b.cmd");
}

TEST(ToolCatalogueFile, LoadsAtMost32767EntriesAndSaysWhenMoreFollowed) {
  std::vector<std::wstring> many;
  for (int i = 0; i < 32800; ++i) many.push_back(L"T" + std::to_wstring(i) + L"\tt.cmd");
  const std::vector<ToolRecord> entries = toolEntries(many);
  ASSERT_EQ(entries.size(), 32767u);
  EXPECT_EQ(entries.back().caption, L"T32766");

  // The loader stops at the first record after the last entry it can hold.
  ToolCatalogueLoader full;
  size_t taken = 0;
  while (taken < many.size() && full.take(many[taken])) ++taken;
  EXPECT_EQ(taken, 32767u);
  EXPECT_TRUE(full.restLeftOut());
  // Blank lines after exactly 32767 entries leave nothing out.
  ToolCatalogueLoader exact;
  for (size_t i = 0; i < 32767; ++i) exact.take(many[i]);
  EXPECT_TRUE(exact.take(L""));
  EXPECT_FALSE(exact.restLeftOut());
  EXPECT_EQ(exact.entries().size(), 32767u);
}

TEST(ToolCatalogueFile, ARecordCutByTheReaderOrWithAnOverlongFileNameNamesNoTool) {
  ToolCatalogueLoader loader;
  loader.take(L"Cut\tcut.cmd", false);
  loader.take(L"Long\t" + std::wstring(MaxToolFileChars + 1, L'x'));
  loader.take(L"Longest\t" + std::wstring(MaxToolFileChars, L'y'));
  ASSERT_EQ(loader.entries().size(), 1u);
  EXPECT_EQ(loader.entries()[0].caption, L"Longest");
  EXPECT_FALSE(loader.restLeftOut());
}

}  // namespace
}  // namespace kelvane
