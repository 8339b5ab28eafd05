// Starting the online-help program for real, from folders whose names hold blanks
// or characters outside the code page, always from a checked copy.
#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "common/OwnFileCopies.h"
#include "common/SystemServices.h"
#include "common/TextEncoding.h"
#include "shell/HelpCommands.h"
#include "tests/fakes/ScriptedMessageBoxes.h"
#include "tests/win/TestSupport.h"

namespace kelvane {
namespace {

using namespace std::chrono_literals;
using testing::fileExists;
using testing::ScratchDirectory;
using testing::waitUntil;

class OnlineHelpLaunch : public ::testing::Test {
 protected:
  // Lays out <root>\<install>\helper\helper.exe and a decoy <root>\Program.exe,
  // both copies of the marker program.
  std::wstring install(const std::wstring& installName) {
    const std::wstring marker = testing::binaryDirectory() + L"\\marker.exe";
    const std::wstring appDirectory = root.path() + L"\\" + installName;
    CreateDirectoryW((root.path() + L"\\Program Files").c_str(), nullptr);
    CreateDirectoryW(appDirectory.c_str(), nullptr);
    CreateDirectoryW((appDirectory + L"\\helper").c_str(), nullptr);
    EXPECT_TRUE(CopyFileW(marker.c_str(), (appDirectory + L"\\helper\\helper.exe").c_str(), FALSE));
    EXPECT_TRUE(CopyFileW(marker.c_str(), (root.path() + L"\\Program.exe").c_str(), FALSE));
    return appDirectory;
  }

  ScratchDirectory root{L"launch"};
  testing::ScriptedMessageBoxes boxes;
  SystemLauncher launcher;
};

TEST_F(OnlineHelpLaunch, AnUnquotedCommandLineUnderABlankRunsTheWrongProgram) {
  // The fault the quoted launch avoids, shown on this system.
  const std::wstring appDirectory = install(L"Program Files\\Kelvane");
  ProcessRequest unquoted{L"", appDirectory + L"\\helper\\helper.exe", L"", ShowMinimized};
  ASSERT_TRUE(launcher.startProcess(unquoted));
  EXPECT_TRUE(waitUntil([&] { return fileExists(root.path() + L"\\Program.ran"); }));
}

TEST_F(OnlineHelpLaunch, StartsACopyOfTheHelperByItsFullPathUnderAFolderWithABlank) {
  const std::wstring appDirectory = install(L"Program Files\\Kelvane");
  const testing::MarkerLog markers(root.path());
  HelpCommands(launcher, boxes, appDirectory).helpplus_Click();
  ASSERT_TRUE(waitUntil([&] { return !markers.runs().empty(); }));
  std::this_thread::sleep_for(300ms);
  ASSERT_EQ(markers.runs().size(), 1u) << markers.runs().back().program;
  const std::wstring copy = markers.runs()[0].program;
  EXPECT_EQ(copy.find(appDirectory), std::wstring::npos) << copy;
  EXPECT_NE(copy.find(L"\\helper.exe"), std::wstring::npos) << copy;
  // The copy is gone once the program ends (its program has ended too).
  launcher.removeCopies();
  EXPECT_FALSE(fileExists(copy));
}

TEST_F(OnlineHelpLaunch, StartsTheHelperFromAFolderOutsideTheCodePage) {
  const std::wstring appDirectory = install(L"한국어 Kelvane");
  const testing::MarkerLog markers(root.path());
  HelpCommands(launcher, boxes, appDirectory).helpplus_Click();
  EXPECT_TRUE(waitUntil([&] { return !markers.runs().empty(); }));
}

// Only the plain file at the expected path starts: not a second name of
// another file, not one reached through a linked folder, not a missing one.
TEST_F(OnlineHelpLaunch, AHelperThatIsNotThePlainFileAtItsPathIsRefused) {
  const std::wstring appDirectory = install(L"Kelvane");
  const testing::MarkerLog markers(root.path());
  const std::wstring helper = appDirectory + L"\\helper\\helper.exe";
  ASSERT_TRUE(CreateHardLinkW((root.path() + L"\\second.exe").c_str(), helper.c_str(), nullptr));
  EXPECT_FALSE(launcher.startOwnFile({nullptr, appDirectory, L"\\helper\\helper.exe", ShowMinimized}));
  DeleteFileW((root.path() + L"\\second.exe").c_str());
  EXPECT_FALSE(launcher.startOwnFile({nullptr, appDirectory, L"\\helper\\..\\helper\\helper.exe", ShowMinimized}));
  EXPECT_FALSE(launcher.startOwnFile({nullptr, root.path(), L"\\helper\\helper.exe", ShowMinimized}));
  HelpCommands(launcher, boxes, root.path()).helpplus_Click();  // must simply return
  EXPECT_TRUE(launcher.startOwnFile({nullptr, appDirectory, L"\\helper\\helper.exe", ShowMinimized}));
  EXPECT_TRUE(waitUntil([&] { return markers.runs().size() == 1; }));
}

// What a run that crashed left is removed at the next start; a live run's
// copies, and a folder that only looks like a leftover, are left alone.
TEST_F(OnlineHelpLaunch, LeftoverCopiesAreRemovedButNotThoseOfARunningCopy) {
  const testing::MarkerLog markers(root.path());
  const std::wstring appDirectory = install(L"Kelvane"), go = root.path() + L"\\go", temp = CopyFolder::parentFolder();
  ASSERT_TRUE(launcher.startOwnFile({nullptr, appDirectory, L"\\helper\\helper.exe", ShowMinimized}));
  ASSERT_TRUE(waitUntil([&] { return !markers.runs().empty(); }));
  // A script still running from its copy after its run ended keeps the copy.
  ASSERT_TRUE(testing::writeFile(appDirectory + L"\\Wait.cmd", ":w\r\n@if not exist \"" + wideToUtf8(go) + "\" goto w\r\n@del \"" + wideToUtf8(go) + "\"\r\n"));
  ASSERT_TRUE(SystemLauncher().startOwnFile({nullptr, appDirectory, L"\\Wait.cmd", ShowMinimized}));
  SystemLauncher::removeLeftoverCopies();
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW((temp + L"\\Kelvane-*").c_str(), &found);
  bool kept = false;
  for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found)) {
    kept = kept || fileExists(temp + L"\\" + found.cFileName + L"\\1\\Wait.cmd");
  }
  FindClose(search);
  EXPECT_TRUE(kept);
  ASSERT_TRUE(testing::writeFile(go, ""));
  EXPECT_TRUE(waitUntil([&] { return !fileExists(go); }));  // the script has seen it and ends
  const std::wstring leftover = temp + L"\\Kelvane-0123456789abcdef0123456789abcdef";
  const std::wstring lookalike = temp + L"\\Kelvane-backup";
  for (const std::wstring& folder : {leftover, lookalike}) {
    CreateDirectoryW(folder.c_str(), nullptr);
    CreateDirectoryW((folder + L"\\1").c_str(), nullptr);
    ASSERT_TRUE(testing::writeFile(folder + L"\\1\\Fix.cmd", "x"));
  }
  SystemLauncher::removeLeftoverCopies();
  EXPECT_FALSE(fileExists(leftover));
  EXPECT_TRUE(fileExists(lookalike + L"\\1\\Fix.cmd"));
  EXPECT_TRUE(fileExists(markers.runs()[0].program));
  testing::removeTree(lookalike);
}

}  // namespace
}  // namespace kelvane
