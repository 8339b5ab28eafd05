// The INI routine and the record reader against the real profile functions and
// real files, in GBK and UTF-8.
#include <windows.h>

#include <gtest/gtest.h>

#include "common/Ansi.h"
#include "common/Files.h"
#include "common/TextEncoding.h"
#include "tests/fakes/ScriptedMessageBoxes.h"
#include "tests/win/TestSupport.h"
#include "wizard/SolutionFiles.h"
#include "wizard/modIni.h"

namespace kelvane {
namespace {

using testing::ScratchDirectory;
using testing::ScriptedMessageBoxes;
using testing::writeFile;

std::string repeat(const std::string& unit, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += unit;
  return text;
}

const std::string Pai = "\xC5\xC5";  // 排 in GBK

class ModIni : public ::testing::Test {
 protected:
  // The store in GBK, or saved again as UTF-8 without a mark.
  explicit ModIni(const std::wstring& folderName = L"ini", bool utf8 = false) : folder(folderName) {
    CreateDirectoryW((folder.path() + L"\\data").c_str(), nullptr);
    const std::string contents =
        "[sys2]\r\n"
        "totalcount=2\r\n"
        "caption1=" + Pai + Pai + "\r\n"
        "long=" + repeat("0123456789", 6) + "\r\n"
        "failedLower=failed but stored\r\n"
        "failedUpper=Failed but stored\r\n"
        "empty=\r\n"
        "cut=" + repeat(Pai, 25) + "\r\n"
        "shifted=a" + repeat(Pai, 25) + "\r\n"
        "exact=a" + repeat(Pai, 24) + "\r\n";
    EXPECT_TRUE(writeFile(iniPath(), utf8 ? wideToUtf8(gbkToWide(contents)) : contents));
  }
  std::wstring iniPath() const { return folder.path() + L"\\data\\sol.ini"; }
  std::string iniBytes() const { return readFileBytes(iniPath()).value_or(""); }

  ScratchDirectory folder;
  ScriptedMessageBoxes messageBoxes;
  int ended = 0;
  modIni ini{folder.path(), messageBoxes, [this] { ++ended; }};
};

TEST_F(ModIni, ReadsInAnyCaseOfTheMode) {
  EXPECT_EQ(ini.IniAccess(L"GET", L"sys2", L"totalcount"), L"2");
  EXPECT_EQ(ini.IniAccess(L"get", L"SYS2", L"TotalCount"), L"2");
  EXPECT_EQ(ini.IniAccess(L"gEt", L"sys2", L"caption1"), L"排排");
  EXPECT_EQ(ini.IniAccess(L"LIST", L"sys2", L"totalcount"), L"");
}

TEST_F(ModIni, ChecksItsArgumentsModeFirst) {
  EXPECT_EQ(ini.IniAccess(L"", L"", L""), L"ERROR MODE");
  EXPECT_EQ(ini.IniAccess(L"", L"sys2", L""), L"ERROR MODE");
  EXPECT_EQ(ini.IniAccess(L"", L"", L"totalcount"), L"ERROR MODE");
  EXPECT_EQ(ini.IniAccess(L"GET", L"", L""), L"ERROR Secname");
  EXPECT_EQ(ini.IniAccess(L"GET", L"", L"totalcount"), L"ERROR Secname");
  EXPECT_EQ(ini.IniAccess(L"GET", L"sys2", L""), L"ERROR Keyname");
  EXPECT_EQ(ini.IniAccess(L"WRITE", L"", L"", std::wstring(L"1")), L"ERROR Secname");
}

TEST_F(ModIni, ALongValueReadsAsItsFirst49Bytes) {
  EXPECT_EQ(ini.IniAccess(L"GET", L"sys2", L"long"), L"0123456789012345678901234567890123456789012345678");
}

TEST_F(ModIni, FailedOnlyInCapitalsAnEmptyValueAndAMissingKeyReadAsEmpty) {
  EXPECT_EQ(ini.IniAccess(L"GET", L"sys2", L"failedUpper"), L"");
  EXPECT_EQ(ini.IniAccess(L"GET", L"sys2", L"failedLower"), L"failed but stored");
  EXPECT_EQ(ini.IniAccess(L"GET", L"sys2", L"empty"), L"");
  EXPECT_EQ(ini.IniAccess(L"GET", L"sys2", L"nothing"), L"");
  EXPECT_EQ(ini.IniAccess(L"GET", L"sys9", L"totalcount"), L"");
}

TEST_F(ModIni, ACutNeverEndsInHalfAChineseCharacter) {
  EXPECT_EQ(ini.IniAccess(L"GET", L"sys2", L"cut"), std::wstring(24, L'排'));
  EXPECT_EQ(ini.IniAccess(L"GET", L"sys2", L"shifted"), L"a" + std::wstring(24, L'排'));
  EXPECT_EQ(ini.IniAccess(L"GET", L"sys2", L"exact"), L"a" + std::wstring(24, L'排'));
}

TEST_F(ModIni, AnEmptyWriteIsRefusedAndLeavesTheFileByteForByte) {
  const std::string before = iniBytes();
  EXPECT_EQ(ini.IniAccess(L"WRITE", L"sys2", L"totalcount", std::wstring()), L"ERROR KeyValue");
  EXPECT_EQ(ini.IniAccess(L"write", L"sys2", L"totalcount"), L"ERROR KeyValue");
  EXPECT_EQ(iniBytes(), before);
}

TEST_F(ModIni, AWriteReturnsTheEmptyTextAndTheValueReadsBack) {
  EXPECT_EQ(ini.IniAccess(L"Write", L"sys2", L"totalcount", std::wstring(L"3")), L"");
  EXPECT_EQ(ini.IniAccess(L"GET", L"sys2", L"totalcount"), L"3");
  EXPECT_EQ(ini.IniAccess(L"WRITE", L"new", L"caption1", std::wstring(L"重启电脑")), L"");
  EXPECT_EQ(ini.IniAccess(L"GET", L"new", L"caption1"), L"重启电脑");
  EXPECT_TRUE(messageBoxes.shown.empty());
  EXPECT_EQ(ended, 0);
}

TEST(ModIniFiles, AMissingFileReadsAsEmpty) {
  ScratchDirectory folder(L"ini-missing");
  ScriptedMessageBoxes messageBoxes;
  modIni ini(folder.path(), messageBoxes, [] {});
  EXPECT_EQ(ini.IniAccess(L"GET", L"sys2", L"totalcount"), L"");
}

class ModIniOutsideTheCodePage : public ModIni {
 protected:
  ModIniOutsideTheCodePage() : ModIni(L"ini-한국어") {}
};

struct ModIniInUtf8 : ModIni {
  ModIniInUtf8() : ModIni(L"ini-utf8", true) {}
};

// The cut counts GBK bytes whichever encoding the file is in, so a caption is cut
// at the same character; and a write keeps the file's encoding.
TEST_F(ModIniInUtf8, ReadsAndCutsAsTheGbkFileAndWritesUtf8) {
  EXPECT_EQ(ini.IniAccess(L"GET", L"sys2", L"caption1"), L"排排");
  EXPECT_EQ(ini.IniAccess(L"GET", L"sys2", L"cut"), std::wstring(24, L'排'));
  EXPECT_EQ(ini.IniAccess(L"GET", L"sys2", L"failedUpper"), L"");
  EXPECT_EQ(ini.IniAccess(L"WRITE", L"sys2", L"caption2", std::wstring(L"重启")), L"");
  EXPECT_NE(iniBytes().find("caption2=\xE9\x87\x8D\xE5\x90\xAF\r\n"), std::string::npos);
  EXPECT_EQ(ini.IniAccess(L"GET", L"sys2", L"caption1"), L"排排");
}

TEST_F(ModIniOutsideTheCodePage, ReadsTheSameThroughAFolderNameWithoutAnAnsiForm) {
  EXPECT_EQ(ini.IniAccess(L"GET", L"sys2", L"caption1"), L"排排");
  EXPECT_EQ(ini.IniAccess(L"GET", L"sys2", L"long"), L"0123456789012345678901234567890123456789012345678");
  EXPECT_EQ(ini.IniAccess(L"GET", L"sys2", L"cut"), std::wstring(24, L'排'));
  EXPECT_EQ(ini.IniAccess(L"GET", L"sys2", L"failedUpper"), L"");
}

TEST(RecordFiles, EveryItemBecomesALineAndTheBlankAfterACommaIsLost) {
  ScratchDirectory folder(L"records");
  CreateDirectoryW((folder.path() + L"\\data").c_str(), nullptr);
  ASSERT_TRUE(writeFile(folder.path() + L"\\data\\boot0.Rd", "first, second\r\n\r\n" + Pai + "\r\nlast"));
  ScriptedMessageBoxes messageBoxes;
  SolutionFiles files(folder.path(), messageBoxes, [] {});
  EXPECT_EQ(files.recordText(L"boot0"), L"first\r\nsecond\r\n\r\n排\r\nlast\r\n");
  EXPECT_EQ(files.recordPath(L"boot0"), folder.path() + L"\\data\\boot0.Rd");
  EXPECT_FALSE(files.recordText(L"boot1"));
}

}  // namespace
}  // namespace kelvane
