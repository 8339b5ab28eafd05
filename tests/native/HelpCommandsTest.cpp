#include "shell/HelpCommands.h"

#include <gtest/gtest.h>

#include "tests/fakes/FakeLauncher.h"

namespace kelvane {
namespace {

using testing::FakeLauncher;

WindowHandle const Owner = reinterpret_cast<WindowHandle>(0x1234);

class HelpCommandsTest : public ::testing::Test {
 protected:
  HelpCommands commandsFor(std::wstring appDirectory) {
    HelpCommands commands(launcher, std::move(appDirectory));
    commands.setOwner(Owner);
    return commands;
  }
  ShellRequest onlyShellRequest() {
    EXPECT_EQ(launcher.shellRequests.size(), 1u);
    EXPECT_TRUE(launcher.processRequests.empty());
    return launcher.shellRequests.empty() ? ShellRequest{} : launcher.shellRequests.front();
  }

  FakeLauncher launcher;
};

TEST_F(HelpCommandsTest, ForumAndDonationOpenTheirPagesWithTheDefaultVerb) {
  commandsFor(L"C:\\Kelvane").bbshelp_Click();
  EXPECT_EQ(onlyShellRequest(), (ShellRequest{Owner, L"", std::wstring(ForumAddress), L"", L"", ShowNormal}));
  launcher.shellRequests.clear();
  commandsFor(L"C:\\Kelvane").denote_Click();
  EXPECT_EQ(onlyShellRequest(), (ShellRequest{Owner, L"", std::wstring(DonationAddress), L"", L"", ShowNormal}));
  EXPECT_EQ(ForumAddress.substr(0, 8), L"https://");
  EXPECT_EQ(DonationAddress.substr(0, 8), L"https://");
}

TEST_F(HelpCommandsTest, ContactOpensANewMailToSupport) {
  commandsFor(L"C:\\Kelvane").contact_Click();
  const ShellRequest request = onlyShellRequest();
  EXPECT_EQ(request, (ShellRequest{Owner, L"open", L"mailto:" + std::wstring(SupportMailAddress), L"", L"",
                                   ShowNormal}));
  EXPECT_NE(SupportMailAddress.find(L'@'), std::wstring_view::npos);
}

TEST_F(HelpCommandsTest, HardwareGuideOpensTheHelpFileBesideTheProgram) {
  commandsFor(L"D:\\工具\\Kelvane").hdguide_Click();
  EXPECT_EQ(onlyShellRequest(),
            (ShellRequest{Owner, L"open", L"D:\\工具\\Kelvane\\hdguide.chm", L"", L"", ShowNormal}));
}

TEST_F(HelpCommandsTest, OnlineHelpStartsByFullPathEvenUnderAFolderWithBlanks) {
  commandsFor(L"C:\\Program Files\\Kelvane").helpplus_Click();
  ASSERT_EQ(launcher.processRequests.size(), 1u);
  const ProcessRequest& request = launcher.processRequests.front();
  EXPECT_EQ(request.application, L"C:\\Program Files\\Kelvane\\helper\\helper.exe");
  // Quoted, so the system cannot take "C:\Program" for the program.
  EXPECT_EQ(request.commandLine, L"\"C:\\Program Files\\Kelvane\\helper\\helper.exe\"");
  EXPECT_EQ(request.directory, L"");  // the current directory of the process
  EXPECT_EQ(request.show, ShowMinimized);
  EXPECT_TRUE(launcher.shellRequests.empty());
}

TEST_F(HelpCommandsTest, AtADriveRootThePathsHoldTwoBackslashes) {
  HelpCommands commands = commandsFor(L"E:\\");
  commands.helpplus_Click();
  commands.hdguide_Click();
  EXPECT_EQ(launcher.processRequests.at(0).application, L"E:\\\\helper\\helper.exe");
  EXPECT_EQ(launcher.shellRequests.at(0).file, L"E:\\\\hdguide.chm");
}

TEST_F(HelpCommandsTest, ARefusedLaunchChangesNothingElse) {
  launcher.accept = false;
  HelpCommands commands = commandsFor(L"C:\\Kelvane");
  commands.helpplus_Click();
  commands.helpplus_Click();
  EXPECT_EQ(launcher.processRequests.size(), 2u);
}

}  // namespace
}  // namespace kelvane
