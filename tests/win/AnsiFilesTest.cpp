// GBK text, whole-file reading in every encoding, and where DLLs load from.
#include <windows.h>

#include <cstdlib>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/Ansi.h"
#include "common/DllSafety.h"
#include "common/Files.h"
#include "common/TextEncoding.h"
#include "tests/win/TestSupport.h"

namespace kelvane {
namespace {

using ::testing::ElementsAre;
using testing::ScratchDirectory;
using testing::writeFile;

const std::string WizardGbk = "\xC5\xC5\xB3\xFD\xCF\xF2\xB5\xBC";  // 排除向导

TEST(Ansi, TheTestsRunWithTheChineseCodePage) { ASSERT_EQ(GetACP(), 936u); }

// The runs of the data tests under other code pages name the one they meant.
TEST(Files, TheRunIsAtTheCodePageItWasStartedFor) {
  const char* expected = std::getenv("KELVANE_EXPECTED_ACP");
  if (!expected) GTEST_SKIP() << "a run at the usual code page";
  EXPECT_EQ(std::to_string(GetACP()), expected);
}

TEST(Ansi, GbkBytesDecodeToTheirCharactersAndBack) {
  EXPECT_EQ(gbkToWide(WizardGbk), L"排除向导");
  EXPECT_EQ(exactGbk(L"排除向导"), WizardGbk);
  EXPECT_EQ(gbkToWide("\x81\x5C"), L"乗");
  EXPECT_EQ(gbkToWide(""), L"");
  EXPECT_EQ(exactGbk(L""), "");
  EXPECT_EQ(exactGbk(L"한"), std::nullopt);
}

TEST(Files, AnItemFileIsSplitOnBytesAndDecodedItemByItem) {
  ScratchDirectory folder(L"items");
  const std::wstring path = folder.path() + L"\\sample.Rd";
  ASSERT_TRUE(writeFile(path, WizardGbk + ",\"a, b\"\r\n\x81\x5C\x81\x40\r\n"));
  const auto items = readItemFile(path);
  ASSERT_TRUE(items);
  EXPECT_THAT(*items, ElementsAre(L"排除向导", L"a, b", L"乗丂"));
  // The same items from the file saved as UTF-8 with and without a mark and as
  // UTF-16, whole or in pieces, whatever the system's code page.
  const std::wstring text = L"排除向导,\"a, b\"\r\n乗丂\r\n";
  for (const std::string& bytes : {wideToUtf8(text), "\xEF\xBB\xBF" + wideToUtf8(text), "\xFF\xFE" + wideToUtf16Le(text)}) {
    ASSERT_TRUE(writeFile(path, bytes));
    EXPECT_EQ(readItemFile(path), items);
    std::vector<std::wstring> pieced;
    EXPECT_TRUE(readItemFileInPieces(path, 64, [&](std::wstring_view item, bool) { return pieced.emplace_back(item), true; }));
    EXPECT_EQ(pieced, *items);
  }
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
