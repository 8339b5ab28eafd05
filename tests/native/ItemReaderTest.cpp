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

// The catalogue is read in pieces: wherever the pieces end (inside a CR LF, a
// quoted item, the blanks before an item), the items are those of the whole.
TEST(ItemReader, PiecesGiveTheItemsOfTheWholeWhereverTheyAreCut) {
  const std::string data = "  a,\"b,\r\nc\" junk\r\n\r\n d\re\n\r,\"\",x,  ";
  const std::vector<std::string> whole = readItems(data);
  ASSERT_EQ(whole.size(), 10u);
  for (size_t first = 0; first <= data.size(); ++first) {
    for (size_t second = first; second <= data.size(); ++second) {
      ItemReader reader;
      std::vector<std::string> items;
      for (const std::string_view piece : {std::string_view(data).substr(0, first),
                                           std::string_view(data).substr(first, second - first),
                                           std::string_view(data).substr(second)}) {
        reader.append(piece);
        while (std::optional<ItemReader::Item> item = reader.next()) items.push_back(item->text);
      }
      reader.finish();
      while (std::optional<ItemReader::Item> item = reader.next()) items.push_back(item->text);
      ASSERT_EQ(items, whole) << "cut at " << first << " and " << second;
    }
  }
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
