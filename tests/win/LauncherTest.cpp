// Starting the online-help program for real, from folders whose names hold blanks
// or characters outside the code page.
#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "common/SystemServices.h"
#include "shell/HelpCommands.h"
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
  SystemLauncher launcher;
};

TEST_F(OnlineHelpLaunch, AnUnquotedCommandLineUnderABlankRunsTheWrongProgram) {
  // The fault the quoted launch avoids, shown on this system.
  const std::wstring appDirectory = install(L"Program Files\\Kelvane");
  ProcessRequest unquoted{L"", appDirectory + L"\\helper\\helper.exe", L"", ShowMinimized};
  ASSERT_TRUE(launcher.startProcess(unquoted));
  EXPECT_TRUE(waitUntil([&] { return fileExists(root.path() + L"\\Program.ran"); }));
}

TEST_F(OnlineHelpLaunch, StartsTheHelperByItsFullPathUnderAFolderWithABlank) {
  const std::wstring appDirectory = install(L"Program Files\\Kelvane");
  HelpCommands commands(launcher, appDirectory);
  commands.helpplus_Click();
  EXPECT_TRUE(waitUntil([&] { return fileExists(appDirectory + L"\\helper\\helper.ran"); }));
  std::this_thread::sleep_for(300ms);
  EXPECT_FALSE(fileExists(root.path() + L"\\Program.ran"));
}

TEST_F(OnlineHelpLaunch, StartsTheHelperFromAFolderOutsideTheCodePage) {
  const std::wstring appDirectory = install(L"한국어 Kelvane");
  HelpCommands(launcher, appDirectory).helpplus_Click();
  EXPECT_TRUE(waitUntil([&] { return fileExists(appDirectory + L"\\helper\\helper.ran"); }));
}

TEST_F(OnlineHelpLaunch, AMissingHelperIsRefusedQuietly) {
  ProcessRequest missing{root.path() + L"\\helper\\helper.exe", L"\"x\"", L"", ShowMinimized};
  EXPECT_FALSE(launcher.startProcess(missing));
  HelpCommands(launcher, root.path()).helpplus_Click();  // must simply return
}

}  // namespace
}  // namespace kelvane
