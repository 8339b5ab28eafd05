#pragma once
// The five commands of the help menu: the forum, the online-help program, the
// donation page, an e-mail to support and the hardware troubleshooting guide.
// Launch results are not examined: a missing browser, mail client or help file
// leaves the window as it was. Pages and mail open through the unelevated
// desktop shell; without one, the user is asked before they open elevated.
#include <string>
#include <string_view>

#include "common/Launcher.h"
#include "common/MessageBox.h"

namespace kelvane {

inline constexpr std::wstring_view ForumAddress = L"https://bbs.drovik.cn/forum-kelvane-1.html";
inline constexpr std::wstring_view DonationAddress = L"https://www.drovik.cn/kelvane/donate.html";
inline constexpr std::wstring_view SupportMailAddress = L"kelvane-support@drovik.cn";
inline constexpr std::wstring_view OnlineHelpProgram = L"\\helper\\helper.exe";
inline constexpr std::wstring_view HardwareGuide = L"\\hdguide.chm";

namespace help_text {
inline std::wstring openElevatedQuestion(const std::wstring& address) {
  return L"无法以普通用户权限打开：\n" + address +
         L"\n\n是否以管理员权限打开？以管理员权限运行的浏览器或邮件程序更容易被恶意网页利用。";
}
}  // namespace help_text

class HelpCommands {
 public:
  HelpCommands(Launcher& launcher, MessageBoxes& messageBoxes, std::wstring appDirectory)
      : launcher_(launcher), messageBoxes_(messageBoxes), appDirectory_(std::move(appDirectory)) {}

  // The window that owns the launches (the main window), once it exists.
  void setOwner(WindowHandle owner) { owner_ = owner; }

  void bbshelp_Click();
  void helpplus_Click();
  void denote_Click();
  void contact_Click();
  void hdguide_Click();

 private:
  void openAddress(std::wstring_view verb, std::wstring address);

  Launcher& launcher_;
  MessageBoxes& messageBoxes_;
  std::wstring appDirectory_;
  WindowHandle owner_ = nullptr;
};

}  // namespace kelvane
