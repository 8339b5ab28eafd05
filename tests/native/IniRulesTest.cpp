#include "wizard/IniRules.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

TEST(IniRules, ModesMatchWithoutRegardToCase) {
  EXPECT_EQ(iniMode(L"GET"), IniMode::Get);
  EXPECT_EQ(iniMode(L"get"), IniMode::Get);
  EXPECT_EQ(iniMode(L"GeT"), IniMode::Get);
  EXPECT_EQ(iniMode(L"wRiTe"), IniMode::Write);
  EXPECT_EQ(iniMode(L"GETS"), IniMode::Other);
  EXPECT_EQ(iniMode(L" GET"), IniMode::Other);
}

TEST(IniRules, ArgumentsAreCheckedModeFirstThenSectionThenKeyThenValue) {
  const std::optional<std::wstring> none;
  EXPECT_EQ(iniArgumentError(L"", L"", L"", none), L"ERROR MODE");
  EXPECT_EQ(iniArgumentError(L"", L"s", L"k", none), L"ERROR MODE");
  EXPECT_EQ(iniArgumentError(L"GET", L"", L"", none), L"ERROR Secname");
  EXPECT_EQ(iniArgumentError(L"GET", L"", L"k", none), L"ERROR Secname");
  EXPECT_EQ(iniArgumentError(L"GET", L"s", L"", none), L"ERROR Keyname");
  EXPECT_EQ(iniArgumentError(L"WRITE", L"s", L"k", none), L"ERROR KeyValue");
  EXPECT_EQ(iniArgumentError(L"write", L"s", L"k", std::wstring()), L"ERROR KeyValue");
  EXPECT_FALSE(iniArgumentError(L"WRITE", L"s", L"k", std::wstring(L"3")));
  // A read needs no value, and an unknown mode is no argument error.
  EXPECT_FALSE(iniArgumentError(L"GET", L"s", L"k", none));
  EXPECT_FALSE(iniArgumentError(L"DELETE", L"s", L"k", none));
}

TEST(IniRules, ValuesBeginningWithFailedReadAsEmptyCaseSensitively) {
  EXPECT_EQ(profileValue("Failed", false), "");
  EXPECT_EQ(profileValue("Failed to boot", false), "");
  EXPECT_EQ(profileValue("failed to boot", false), "failed to boot");
  EXPECT_EQ(profileValue("Faile", false), "Faile");
  EXPECT_EQ(profileValue("", false), "");
}

TEST(IniRules, ACutValueLosesADanglingLeadByteButAFittingValueIsKeptAsStored) {
  // 24 Chinese characters (48 bytes) and the lead byte of the 25th.
  std::string chinese;
  for (int i = 0; i < 24; ++i) chinese += "\xC5\xC5";
  EXPECT_EQ(profileValue(chinese + "\xB3", true), chinese);
  // An ASCII letter first shifts the pairs: 49 bytes of whole characters stay.
  EXPECT_EQ(profileValue("a" + chinese, true), "a" + chinese);
  // A value that was not cut comes back byte for byte, even when odd.
  EXPECT_EQ(profileValue(chinese + "\xB3", false), chinese + "\xB3");
}

TEST(IniRules, TheLeadByteScanStartsFromTheBeginning) {
  // "\x81\x81" is one character whose trail byte lies in the lead range; looking
  // only at the last byte would wrongly drop it.
  EXPECT_EQ(dropDanglingLeadByte("ab\x81\x81"), "ab\x81\x81");
  EXPECT_EQ(dropDanglingLeadByte("ab\x81\x81\x81"), "ab\x81\x81");
  EXPECT_EQ(dropDanglingLeadByte("\x81"), "");
  EXPECT_EQ(dropDanglingLeadByte("abc"), "abc");
  EXPECT_EQ(dropDanglingLeadByte(""), "");
  // 0x80 and 0xFF are not lead bytes.
  EXPECT_EQ(dropDanglingLeadByte("a\x80"), "a\x80");
  EXPECT_EQ(dropDanglingLeadByte("a\xFF"), "a\xFF");
}

TEST(IniRules, ASolutionCountIsAWholeNumberFromZeroToFour) {
  EXPECT_EQ(solutionCount(L"0"), 0);
  EXPECT_EQ(solutionCount(L"4"), 4);
  EXPECT_EQ(solutionCount(L" 3 "), 3);
  EXPECT_EQ(solutionCount(L"03"), 3);
  for (const wchar_t* bad : {L"", L"  ", L"abc", L"-1", L"5", L"2.5", L"3a", L"+3", L"99999999999", L"４"}) {
    EXPECT_FALSE(solutionCount(bad)) << ::testing::PrintToString(std::wstring(bad));
  }
}

}  // namespace
}  // namespace kelvane
