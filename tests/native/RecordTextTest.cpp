#include "wizard/RecordText.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

TEST(RecordText, EachItemOnALineOfItsOwn) {
  EXPECT_EQ(recordDisplayBytes("a,b\r\nc"), "a\r\nb\r\nc\r\n");
  EXPECT_EQ(recordDisplayBytes("\"x, y\",z"), "x, y\r\nz\r\n");
  EXPECT_EQ(recordDisplayBytes(""), "");
  // Only commas: each opens another empty item.
  EXPECT_EQ(recordDisplayBytes(",,"), "\r\n\r\n\r\n");
}

TEST(RecordText, NulBytesShowAsBlanksSoTheRestStaysVisible) {
  const std::string withNul("ab\0cd,e", 7);
  const std::string shown = recordDisplayBytes(withNul);
  EXPECT_EQ(shown, "ab cd\r\ne\r\n");
  EXPECT_EQ(shown.find('\0'), std::string::npos);
}

TEST(RecordText, GbkTextPassesThroughWhole) {
  // "重启" in GBK: the trail bytes are never taken for separators.
  const std::string gbk = "\xD6\xD8\xC6\xF4,\xD6\xD8";
  EXPECT_EQ(recordDisplayBytes(gbk), "\xD6\xD8\xC6\xF4\r\n\xD6\xD8\r\n");
}

}  // namespace
}  // namespace kelvane
