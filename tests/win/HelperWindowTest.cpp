// The online-help program: its window, its buttons, and starting minimised.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "common/Files.h"
#include "helper/HelperText.h"
#include "helper/HelperWindow.h"
#include "shell/HelpCommands.h"
#include "tests/fakes/FakeLauncher.h"
#include "tests/win/TestSupport.h"

namespace kelvane {
namespace {

using testing::RunningApp;
using testing::waitUntil;

TEST(HelperWindow, ShowsBothAddressesAndItsButtonsOpenThem) {
  testing::FakeLauncher launcher;
  HelperWindow window(launcher);
  ASSERT_TRUE(window.create(SW_SHOWNORMAL));
  HWND text = FindWindowExW(window.hwnd(), nullptr, L"Edit", nullptr);
  ASSERT_NE(text, nullptr);
  std::wstring shown(4096, L'\0');
  shown.resize(static_cast<size_t>(GetWindowTextW(text, shown.data(), 4096)));
  EXPECT_NE(shown.find(ForumAddress), std::wstring::npos);
  EXPECT_NE(shown.find(SupportMailAddress), std::wstring::npos);
  // It sends the user to a repair-tool button by its caption: that button must exist.
  EXPECT_NE(shown.find(helper_text::SystemSummaryTool), std::wstring::npos);
  const std::optional<std::string> catalogue =
      readFileBytes(testing::installedAppDirectory() + L"\\tooll\\tool.txt");
  ASSERT_TRUE(catalogue);
  std::wstring captions(catalogue->size(), L'\0');
  captions.resize(static_cast<size_t>(MultiByteToWideChar(936, 0, catalogue->data(), static_cast<int>(catalogue->size()),
                                                          captions.data(), static_cast<int>(captions.size()))));
  EXPECT_NE(captions.find(std::wstring(helper_text::SystemSummaryTool) + L"\t"), std::wstring::npos);

  SendMessageW(RunningApp::findDescendant(window.hwnd(), L"Button", L"访问论坛"), BM_CLICK, 0, 0);
  SendMessageW(RunningApp::findDescendant(window.hwnd(), L"Button", L"发送邮件"), BM_CLICK, 0, 0);
  EXPECT_EQ(launcher.unelevatedAddresses,
            (std::vector<std::wstring>{std::wstring(ForumAddress), L"mailto:" + std::wstring(SupportMailAddress)}));
}

TEST(HelperWindow, AMinimisedStartFlashesTheTaskbarButtonUntilTheWindowIsOpened) {
  testing::FakeLauncher launcher;
  HelperWindow minimised(launcher);
  ASSERT_TRUE(minimised.create(SW_SHOWMINIMIZED));
  EXPECT_TRUE(minimised.flashing());
  ShowWindow(minimised.hwnd(), SW_MINIMIZE);  // still not opened
  EXPECT_TRUE(minimised.flashing());
  ShowWindow(minimised.hwnd(), SW_RESTORE);
  EXPECT_FALSE(minimised.flashing());

  HelperWindow shown(launcher);
  ASSERT_TRUE(shown.create(SW_SHOWNORMAL));
  EXPECT_FALSE(shown.flashing());
}

TEST(HelperProgram, StartsMinimisedAsTheMainProgramAsksAndRestoresWhole) {
  const std::wstring exe = testing::installedAppDirectory() + L"\\helper\\helper.exe";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWMINIMIZED;
  PROCESS_INFORMATION info{};
  std::wstring commandLine = L"\"" + exe + L"\"";
  ASSERT_TRUE(CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &info));
  UniqueKernelHandle process(info.hProcess), thread(info.hThread);
  HWND window = nullptr;
  ASSERT_TRUE(waitUntil([&] {
    window = FindWindowW(HelperWindowClass, nullptr);
    return window && IsWindowVisible(window);
  }));
  EXPECT_TRUE(IsIconic(window));
  ShowWindow(window, SW_RESTORE);
  ASSERT_TRUE(waitUntil([&] { return !IsIconic(window); }));
  RECT client;
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 480);
  EXPECT_EQ(client.bottom, 360);
  EXPECT_TRUE(IsWindowVisible(FindWindowExW(window, nullptr, L"Edit", nullptr)));
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForSingleObject(process.get(), 10000), WAIT_OBJECT_0);
}

}  // namespace
}  // namespace kelvane
