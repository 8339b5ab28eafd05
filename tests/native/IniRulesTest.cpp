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
  EXPECT_EQ(profileResult(L"Failed"), L"");
  EXPECT_EQ(profileResult(L"Failed to boot"), L"");
  EXPECT_EQ(profileResult(L"failed to boot"), L"failed to boot");
  EXPECT_EQ(profileResult(L"Faile"), L"Faile");
  EXPECT_EQ(profileResult(L""), L"");
  EXPECT_EQ(profileResult(std::nullopt), L"");
}

TEST(IniRules, AValueIsCutAt49GbkBytesNeverInsideACharacter) {
  const std::wstring chinese(25, L'排');
  EXPECT_EQ(profileResult(chinese), chinese.substr(0, 24));
  // An ASCII letter first shifts the pairs: 49 bytes of whole characters stay.
  EXPECT_EQ(profileResult(L"a" + chinese), L"a" + chinese.substr(0, 24));
  // The euro sign is one GBK byte; a character GBK lacks, or a surrogate pair, counts two.
  EXPECT_EQ(cutToGbkBytes(L"ab\x20AC", 3), L"ab\x20AC");
  EXPECT_EQ(cutToGbkBytes(L"a\xD83D\xDE00", 3), L"a\xD83D\xDE00");
  EXPECT_EQ(cutToGbkBytes(L"ab\xD83D\xDE00", 3), L"ab");
}

TEST(IniRules, TheProfileIsReadAsTheSystemReadsIt) {
  const std::wstring text =
      L"top=outside\r\n [ Sys2 ]\r\nTotalCount = 2 \r\ncaption1=\"  quoted  \"\r\ncaption2='single'\r\n"
      L"caption3=\"unbalanced\rnoequals\nempty=\r\ncaption1=second\r\n"
      L"[other]\r\ntop=inside\r\n[sys2]\r\nlater=ignored\r\n";
  EXPECT_EQ(profileLookup(text, L"sys2", L"totalcount"), L"2");
  EXPECT_EQ(profileLookup(text, L"SYS2", L"CAPTION1"), L"  quoted  ");
  EXPECT_EQ(profileLookup(text, L"sys2", L"caption2"), L"single");
  EXPECT_EQ(profileLookup(text, L"sys2", L"caption3"), L"\"unbalanced");
  EXPECT_EQ(profileLookup(text, L"sys2", L"empty"), L"");
  EXPECT_EQ(profileLookup(text, L"other", L"top"), L"inside");
  // Missing: a key before any section, no '=', a later same-named section, no section.
  EXPECT_EQ(profileLookup(text, L"sys2", L"top"), std::nullopt);
  EXPECT_EQ(profileLookup(text, L"sys2", L"noequals"), std::nullopt);
  EXPECT_EQ(profileLookup(text, L"sys2", L"later"), std::nullopt);
  EXPECT_EQ(profileLookup(text, L"sys9", L"totalcount"), std::nullopt);
}

TEST(IniRules, AWrittenValueReplacesItsLineOrJoinsItsSectionOrStartsOne) {
  const std::wstring text = L"[a]\r\nk=1\r\n\r\n[b]\r\nx=2";
  EXPECT_EQ(profileWithValue(text, L"A", L"K", L"重启"), L"[a]\r\nk=重启\r\n\r\n[b]\r\nx=2");
  EXPECT_EQ(profileWithValue(text, L"a", L"n", L"3"), L"[a]\r\nk=1\r\nn=3\r\n\r\n[b]\r\nx=2");
  EXPECT_EQ(profileWithValue(text, L"c", L"n", L"3"), text + L"\r\n[c]\r\nn=3\r\n");
  EXPECT_EQ(profileWithValue(L"", L"c", L"n", L"3"), L"[c]\r\nn=3\r\n");
  EXPECT_EQ(profileLookup(profileWithValue(text, L"b", L"y", L"4"), L"b", L"y"), L"4");
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
