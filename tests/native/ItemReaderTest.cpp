#include "common/ItemReader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kelvane {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(ItemReader, SplitsAtCommasAndEveryKindOfLineEnd) {
  EXPECT_THAT(readItems("a,b\r\nc\rd\ne"), ElementsAre("a", "b", "c", "d", "e"));
  // CR LF is one line end, not a line end followed by an empty line.
  EXPECT_THAT(readItems("a\r\n\r\nb"), ElementsAre("a", "", "b"));
  EXPECT_THAT(readItems("a\n\rb"), ElementsAre("a", "", "b"));
}

TEST(ItemReader, ALineWithoutCommasIsOneItemBlanksInsideIncluded) {
  EXPECT_THAT(readItems("启动 速度\t缓慢 。\r\n"), ElementsAre("启动 速度\t缓慢 。"));
}

TEST(ItemReader, EmptyLinesAreEmptyItems) {
  EXPECT_THAT(readItems("\r\n\r\nx\r\n\r\n"), ElementsAre("", "", "x", ""));
  EXPECT_THAT(readItems("\n"), ElementsAre(""));
}

TEST(ItemReader, TheEndOfTheDataEndsTheLastItem) {
  EXPECT_THAT(readItems("first\r\nlast"), ElementsAre("first", "last"));
  EXPECT_THAT(readItems("only"), ElementsAre("only"));
  EXPECT_THAT(readItems(""), IsEmpty());
  // A final line end opens no item; a final comma opens an empty one.
  EXPECT_THAT(readItems("a\r\n"), ElementsAre("a"));
  EXPECT_THAT(readItems("a,"), ElementsAre("a", ""));
  EXPECT_THAT(readItems("a,\r\n"), ElementsAre("a", ""));
}

TEST(ItemReader, BlanksBeforeAnItemAreSkippedButNotAfterIt) {
  EXPECT_THAT(readItems("   a,  b  ,c"), ElementsAre("a", "b  ", "c"));
  EXPECT_THAT(readItems("    \r\nx"), ElementsAre("", "x"));
  // Only blanks are skipped: a tab opens the item (catalogue records start with text
  // before a tab).
  EXPECT_THAT(readItems("\tx"), ElementsAre("\tx"));
}

TEST(ItemReader, QuotedItemsKeepCommasAndLineEndsAndDropTheQuotes) {
  EXPECT_THAT(readItems("\"a,b\",c"), ElementsAre("a,b", "c"));
  EXPECT_THAT(readItems("\"line 1\r\nline 2\"\r\nnext"), ElementsAre("line 1\r\nline 2", "next"));
  EXPECT_THAT(readItems("  \"quoted\"  "), ElementsAre("quoted"));
  EXPECT_THAT(readItems("\"\",x"), ElementsAre("", "x"));
}

TEST(ItemReader, TextAfterTheClosingQuoteIsSkippedToTheNextSeparator) {
  EXPECT_THAT(readItems("\"a\"junk,b"), ElementsAre("a", "b"));
  EXPECT_THAT(readItems("\"a\" junk \"more\"\r\nb"), ElementsAre("a", "b"));
  EXPECT_THAT(readItems("\"a\"junk"), ElementsAre("a"));
}

TEST(ItemReader, AnUnclosedQuoteRunsToTheEnd) {
  EXPECT_THAT(readItems("x,\"never closed, at all\r\n"), ElementsAre("x", "never closed, at all\r\n"));
}

TEST(ItemReader, AQuoteInsideAnUnquotedItemIsPlainText) {
  EXPECT_THAT(readItems("say \"hi\",b"), ElementsAre("say \"hi\"", "b"));
}

TEST(ItemReader, GbkTextPassesThroughByteForByte) {
  // 排除向导 and 维护工具 in GBK, then 乗 and 丂, whose trail bytes are '\' and '@'.
  const std::string wizard = "\xC5\xC5\xB3\xFD\xCF\xF2\xB5\xBC";
  const std::string tools = "\xCE\xAC\xBB\xA4\xB9\xA4\xBE\xDF";
  const std::string asciiTrails = "\x81\x5C\x81\x40";
  EXPECT_THAT(readItems(wizard + "," + tools + "\r\n" + asciiTrails),
              ElementsAre(wizard, tools, asciiTrails));
  EXPECT_THAT(readItems("\"" + wizard + "," + tools + "\""), ElementsAre(wizard + "," + tools));
}

TEST(ItemReader, NulBytesAreOrdinaryText) {
  const std::string withNul("a\0b,c", 5);
  EXPECT_THAT(readItems(withNul), ElementsAre(std::string("a\0b", 3), "c"));
}

// Stands in for code page 936, which only Windows has: each byte becomes the unit
// of the same value, so a test sees which bytes reached the GBK decoder.
std::wstring bytesAsUnits(std::string_view bytes) {
  std::wstring text;
  for (const char c : bytes) text += static_cast<wchar_t>(static_cast<unsigned char>(c));
  return text;
}

// The catalogue is read in pieces: wherever the pieces end (inside a CR LF, a
// quoted item, the blanks before an item, a UTF-16 unit), the items are those of
// the whole, in bytes and in UTF-16 alike.
TEST(ItemReader, PiecesGiveTheItemsOfTheWholeWhereverTheyAreCut) {
  const std::string data = "  a,\"b,\r\nc\" junk\r\n\r\n d\re\n\r,\"\",x,  ";
  const std::vector<std::string> whole = readItems(data);
  ASSERT_EQ(whole.size(), 10u);
  std::vector<std::wstring> wideWhole;
  for (const std::string& item : whole) wideWhole.push_back(bytesAsUnits(item));
  const std::string utf16 = "\xFF\xFE" + wideToUtf16Le(bytesAsUnits(data));
  for (size_t first = 0; first <= utf16.size(); ++first) {
    for (size_t second = first; second <= utf16.size(); ++second) {
      ItemReader reader;
      TextItemReader wideReader(detectEncoding(utf16), bytesAsUnits);
      std::vector<std::string> items;
      std::vector<std::wstring> wideItems;
      const auto take = [&] {
        while (std::optional<ItemReader::Item> item = reader.next()) items.push_back(item->text);
        while (std::optional<TextItemReader::Item> item = wideReader.next()) wideItems.push_back(item->text);
      };
      const std::pair<size_t, size_t> pieces[] = {{0, first}, {first, second}, {second, utf16.size()}};
      for (const auto& [begin, end] : pieces) {
        if (begin <= data.size()) reader.append(std::string_view(data).substr(begin, end - begin));
        wideReader.append(std::string_view(utf16).substr(begin, end - begin));
        take();
      }
      reader.finish();
      wideReader.finish();
      take();
      ASSERT_EQ(items, whole) << "cut at " << first << " and " << second;
      ASSERT_EQ(wideItems, wideWhole) << "cut at " << first << " and " << second;
    }
  }
}

TEST(TextEncoding, AFileIsTakenByItsMarkElseAsUtf8WhenItAllIsElseAsGbk) {
  const DetectedEncoding gbk{TextEncoding::Gbk, 0}, utf8{TextEncoding::Utf8, 0};
  EXPECT_EQ(detectEncoding("\xEF\xBB\xBF" "abc"), (DetectedEncoding{TextEncoding::Utf8, 3}));
  EXPECT_EQ(detectEncoding(std::string_view("\xFF\xFE" "a\0", 4)), (DetectedEncoding{TextEncoding::Utf16Le, 2}));
  EXPECT_EQ(detectEncoding("\xFF\xFE"), (DetectedEncoding{TextEncoding::Utf16Le, 2}));
  EXPECT_EQ(detectEncoding("a \xE6\x8E\x92\xE9\x99\xA4\r\n\xF0\x9F\x98\x80"), utf8);  // 排除 and an emoji
  // Shipped GBK: ASCII alone (it reads the same either way); 排除向导, and 你好,
  // whose second bytes are no continuations; valid UTF-8 followed by one GBK
  // character, a cut-off sequence, an overlong form and an encoded surrogate.
  for (const char* text : {"plain text\r\n", "", "\xC5\xC5\xB3\xFD\xCF\xF2\xB5\xBC", "ok \xC4\xE3\xBA\xC3",
                           "\xE6\x8E\x92 \xC5\xC5", "\xE6\x8E\x92\xE6\x8E", "\xC1\xBF", "\xED\xA0\x80"}) {
    EXPECT_EQ(detectEncoding(text), gbk) << ::testing::PrintToString(std::string(text));
  }
  // Looked at in pieces, a sequence split between them is whole.
  EncodingSniffer sniffer;
  for (const char* piece : {"a\xE6", "\x8E", "\x92", ""}) sniffer.append(piece);
  EXPECT_EQ(sniffer.result(), utf8);
  EXPECT_FALSE(sniffer.decided());
}

TEST(TextEncoding, DecodesUtf8AndUtf16ToTheSameUnitsAndBackExactly) {
  const std::wstring text = L"排除 a\x20AC\xD83D\xDE00";  // an emoji is a surrogate pair
  EXPECT_EQ(utf8ToWide("\xE6\x8E\x92\xE9\x99\xA4 a\xE2\x82\xAC\xF0\x9F\x98\x80"), text);
  EXPECT_EQ(decodeText("\xFF\xFE" + wideToUtf16Le(text), bytesAsUnits), text);
  EXPECT_EQ(decodeText("\xEF\xBB\xBF" + wideToUtf8(text), bytesAsUnits), text);
  EXPECT_EQ(decodeText("\xC5\xC5", bytesAsUnits), L"\xC5\xC5");
  // A byte that starts no valid sequence is one replacement character.
  EXPECT_EQ(utf8ToWide("a\xE6\x8E" "b\xFF"), L"a\xFFFD\xFFFD" L"b\xFFFD");
  EXPECT_EQ(utf16LeToWide(std::string_view("a\0b", 3)), L"a\xFFFD");
}

TEST(ItemReader, AnItemBeyondTheLimitKeepsItsStartAndTheNextItemIsExact) {
  ItemReader reader(4);
  reader.append("abcdefgh,\"quoted text\"\r\nok");
  reader.finish();
  const std::optional<ItemReader::Item> plain = reader.next();
  const std::optional<ItemReader::Item> quoted = reader.next();
  const std::optional<ItemReader::Item> fits = reader.next();
  ASSERT_TRUE(plain && quoted && fits);
  EXPECT_EQ(plain->text, "abcd");
  EXPECT_FALSE(plain->whole);
  EXPECT_EQ(quoted->text, "quot");
  EXPECT_FALSE(quoted->whole);
  EXPECT_EQ(fits->text, "ok");
  EXPECT_TRUE(fits->whole);
  EXPECT_FALSE(reader.next());
}

}  // namespace
}  // namespace kelvane
