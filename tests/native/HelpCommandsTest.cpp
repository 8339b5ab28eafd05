#include "shell/HelpCommands.h"

#include <gtest/gtest.h>

#include "tests/fakes/FakeLauncher.h"
#include "tests/fakes/ScriptedMessageBoxes.h"

namespace kelvane {
namespace {

using testing::FakeLauncher;

WindowHandle const Owner = reinterpret_cast<WindowHandle>(0x1234);

class HelpCommandsTest : public ::testing::Test {
 protected:
  HelpCommands commandsFor(std::wstring appDirectory) {
    HelpCommands commands(launcher, boxes, std::move(appDirectory));
    commands.setOwner(Owner);
    return commands;
  }

  FakeLauncher launcher;
  testing::ScriptedMessageBoxes boxes;
};

TEST_F(HelpCommandsTest, PagesAndMailOpenThroughTheDesktopShellWithoutAQuestion) {
  HelpCommands commands = commandsFor(L"C:\\Kelvane");
  for (auto click : {&HelpCommands::bbshelp_Click, &HelpCommands::denote_Click, &HelpCommands::contact_Click})
    (commands.*click)();
  EXPECT_EQ(launcher.unelevatedAddresses,
            (std::vector<std::wstring>{std::wstring(ForumAddress), std::wstring(DonationAddress),
                                       L"mailto:" + std::wstring(SupportMailAddress)}));
  EXPECT_TRUE(launcher.shellRequests.empty());
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_EQ(ForumAddress.substr(0, 8), L"https://");
  EXPECT_EQ(DonationAddress.substr(0, 8), L"https://");
  EXPECT_NE(SupportMailAddress.find(L'@'), std::wstring_view::npos);
}

TEST_F(HelpCommandsTest, WithoutADesktopShellTheUserDecidesWhetherTheyOpenElevated) {
  launcher.desktopShell = false;
  boxes.then(IdNo).then(IdYes).then(IdYes);
  HelpCommands commands = commandsFor(L"C:\\Kelvane");
  for (auto click : {&HelpCommands::bbshelp_Click, &HelpCommands::denote_Click, &HelpCommands::contact_Click})
    (commands.*click)();  // the first is declined: nothing opens
  ASSERT_EQ(boxes.shown.size(), 3u);
  EXPECT_EQ(boxes.shown[0].flags, MbYesNo | MbIconExclamation);
  EXPECT_NE(boxes.shown[0].text.find(ForumAddress), std::wstring::npos);
  EXPECT_NE(boxes.shown[0].text.find(L"管理员权限"), std::wstring::npos);
  EXPECT_EQ(launcher.shellRequests,
            (std::vector<ShellRequest>{
                {Owner, L"", std::wstring(DonationAddress), L"", L"", ShowNormal},
                {Owner, L"open", L"mailto:" + std::wstring(SupportMailAddress), L"", L"", ShowNormal}}));
}

TEST_F(HelpCommandsTest, TheGuideAndTheHelperStartAsFilesOfTheProgramFolder) {
  HelpCommands commands = commandsFor(L"C:\\Program Files\\Kelvane");
  commands.hdguide_Click();
  launcher.accept = false;  // a refused start changes nothing else
  commands.helpplus_Click();
  EXPECT_EQ(launcher.ownFileRequests,
            (std::vector<OwnFileRequest>{{Owner, L"C:\\Program Files\\Kelvane", L"\\hdguide.chm", ShowNormal},
                                         {Owner, L"C:\\Program Files\\Kelvane", L"\\helper\\helper.exe",
                                          ShowMinimized}}));
  EXPECT_TRUE(launcher.shellRequests.empty());
  EXPECT_TRUE(launcher.processRequests.empty());
  EXPECT_TRUE(boxes.shown.empty());
}

}  // namespace
}  // namespace kelvane
