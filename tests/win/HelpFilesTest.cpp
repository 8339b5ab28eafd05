// The help menu's targets exist where the program looks for them.
#include <windows.h>

#include <gtest/gtest.h>

#include "common/AppPath.h"
#include "common/Files.h"
#include "shell/HelpCommands.h"
#include "tests/fakes/FakeLauncher.h"
#include "tests/fakes/ScriptedMessageBoxes.h"
#include "tests/win/TestSupport.h"

namespace kelvane {
namespace {

TEST(HelpFiles, TheGuideOpensFromThePathTheProgramComputes) {
  testing::FakeLauncher launcher;
  testing::ScriptedMessageBoxes boxes;
  HelpCommands commands(launcher, boxes, testing::installedAppDirectory());
  commands.hdguide_Click();
  ASSERT_EQ(launcher.ownFileRequests.size(), 1u);
  const auto guide = readFileBytes(appPath(launcher.ownFileRequests[0].directory, launcher.ownFileRequests[0].relative));
  ASSERT_TRUE(guide) << "no guide at the computed path";
  EXPECT_EQ(guide->substr(0, 4), "ITSF");  // a compiled HTML Help file
}

TEST(HelpFiles, TheOnlineHelpProgramIsWhereTheProgramStartsIt) {
  testing::FakeLauncher launcher;
  testing::ScriptedMessageBoxes boxes;
  HelpCommands commands(launcher, boxes, testing::installedAppDirectory());
  commands.helpplus_Click();
  ASSERT_EQ(launcher.ownFileRequests.size(), 1u);
  const auto program = readFileBytes(appPath(launcher.ownFileRequests[0].directory, launcher.ownFileRequests[0].relative));
  ASSERT_TRUE(program);
  EXPECT_EQ(program->substr(0, 2), "MZ");
}

}  // namespace
}  // namespace kelvane
