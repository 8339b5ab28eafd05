#pragma once
// The five commands of the help menu: the forum, the online-help program, the
// donation page, an e-mail to support and the hardware troubleshooting guide.
// Launch results are not examined: a missing browser, mail client or help file
// leaves the window as it was.
#include <string>
#include <string_view>

#include "common/Launcher.h"

namespace kelvane {

inline constexpr std::wstring_view ForumAddress = L"https://bbs.drovik.cn/forum-kelvane-1.html";
inline constexpr std::wstring_view DonationAddress = L"https://www.drovik.cn/kelvane/donate.html";
inline constexpr std::wstring_view SupportMailAddress = L"kelvane-support@drovik.cn";
inline constexpr std::wstring_view OnlineHelpProgram = L"\\helper\\helper.exe";
inline constexpr std::wstring_view HardwareGuide = L"\\hdguide.chm";

class HelpCommands {
 public:
  HelpCommands(Launcher& launcher, std::wstring appDirectory)
      : launcher_(launcher), appDirectory_(std::move(appDirectory)) {}

  // The window that owns the launches (the main window), once it exists.
  void setOwner(WindowHandle owner) { owner_ = owner; }

  void bbshelp_Click();
  void helpplus_Click();
  void denote_Click();
  void contact_Click();
  void hdguide_Click();

 private:
  void shellOpen(std::wstring_view verb, std::wstring file);

  Launcher& launcher_;
  std::wstring appDirectory_;
  WindowHandle owner_ = nullptr;
};

}  // namespace kelvane
