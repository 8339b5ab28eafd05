// Text in the ANSI code page (GBK here), whole-file reading, and where DLLs load from.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/Ansi.h"
#include "common/DllSafety.h"
#include "common/Files.h"
#include "tests/win/TestSupport.h"

namespace kelvane {
namespace {

using ::testing::ElementsAre;
using testing::ScratchDirectory;
using testing::writeFile;

const std::string WizardGbk = "\xC5\xC5\xB3\xFD\xCF\xF2\xB5\xBC";  // 排除向导

TEST(Ansi, TheTestsRunWithTheChineseCodePage) { ASSERT_EQ(GetACP(), 936u); }

TEST(Ansi, GbkBytesDecodeToTheirCharactersAndBack) {
  EXPECT_EQ(ansiToWide(WizardGbk), L"排除向导");
  EXPECT_EQ(wideToAnsi(L"排除向导"), WizardGbk);
  EXPECT_EQ(ansiToWide("\x81\x5C"), L"乗");
  EXPECT_EQ(ansiToWide(""), L"");
  EXPECT_EQ(wideToAnsi(L""), "");
}

TEST(Files, AnItemFileIsSplitOnBytesAndDecodedItemByItem) {
  ScratchDirectory folder(L"items");
  const std::wstring path = folder.path() + L"\\sample.Rd";
  ASSERT_TRUE(writeFile(path, WizardGbk + ",\"a, b\"\r\n\x81\x5C\x81\x40\r\n"));
  const auto items = readItemFile(path);
  ASSERT_TRUE(items);
  EXPECT_THAT(*items, ElementsAre(L"排除向导", L"a, b", L"乗丂"));
}

TEST(Files, AMissingFileIsReportedAndAnEmptyFileHasNoItems) {
  ScratchDirectory folder(L"missing");
  EXPECT_FALSE(readFileBytes(folder.path() + L"\\nothing.txt"));
  EXPECT_FALSE(readItemFile(folder.path() + L"\\nothing.txt"));
  ASSERT_TRUE(writeFile(folder.path() + L"\\empty.txt", ""));
  const auto items = readItemFile(folder.path() + L"\\empty.txt");
  ASSERT_TRUE(items);
  EXPECT_TRUE(items->empty());
}

TEST(Files, PathsOutsideTheCodePageStillWork) {
  // Korean and Greek letters have no GBK form; an ANSI call would turn them into '?'.
  ScratchDirectory folder(L"한국어 Ελληνικά");
  const std::wstring path = folder.path() + L"\\tool.txt";
  ASSERT_TRUE(writeFile(path, "x,y"));
  const auto bytes = readFileBytes(path);
  ASSERT_TRUE(bytes);
  EXPECT_EQ(*bytes, "x,y");
}

TEST(Files, TheApplicationDirectoryHoldsThisProgram) {
  const std::wstring directory = applicationDirectory();
  ASSERT_FALSE(directory.empty());
  EXPECT_NE(directory.back(), L'\\');
  EXPECT_TRUE(testing::fileExists(directory + L"\\win_tests.exe"));
}

TEST(DllSafety, ADllPlantedBesideTheProgramIsNoLongerLoaded) {
  // The probe DLL is built beside this test; before the restriction the normal
  // search finds it there, afterwards it must not.
  const wchar_t* probe = L"planted_probe.dll";
  ASSERT_TRUE(testing::fileExists(testing::binaryDirectory() + L"\\planted_probe.dll"));
  HMODULE before = LoadLibraryW(probe);
  ASSERT_NE(before, nullptr);
  FreeLibrary(before);

  EXPECT_TRUE(restrictDllLoadingToSystemDirectory());
  HMODULE after = LoadLibraryW(probe);
  EXPECT_EQ(after, nullptr);
  if (after) FreeLibrary(after);
  // System DLLs still load.
  HMODULE system = LoadLibraryW(L"version.dll");
  EXPECT_NE(system, nullptr);
  if (system) FreeLibrary(system);
}

}  // namespace
}  // namespace kelvane
