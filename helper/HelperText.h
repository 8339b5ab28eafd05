#pragma once
// The texts of the online-help program, exactly as the user sees them.
#include <string>
#include <string_view>

#include "shell/HelpCommands.h"

namespace kelvane::helper_text {

inline constexpr std::wstring_view Title = L"Kelvane 在线求助";
inline constexpr std::wstring_view Forum = L"访问论坛";
inline constexpr std::wstring_view Mail = L"发送邮件";
inline constexpr std::wstring_view Close = L"关闭";
// The caption of the repair program that lists this computer's details, as the
// catalogue \tooll\tool.txt names it on the repair-tool page.
inline constexpr std::wstring_view SystemSummaryTool = L"系统信息摘要";

inline std::wstring body() {
  return L"遇到自己解决不了的电脑问题？可以通过下面两种方式向我们求助：\r\n\r\n"
         L"1. 到 Drovik 论坛发帖求助：\r\n    " + std::wstring(ForumAddress) + L"\r\n\r\n"
         L"2. 发送电子邮件给技术支持：\r\n    " + std::wstring(SupportMailAddress) + L"\r\n\r\n"
         L"提问时请写明：\r\n"
         L"· Windows 的版本（例如“Windows 10 家庭版 64 位”）：Windows 11 在“设置 → 系统 → 系统信息”中查看，"
         L"Windows 10 在“设置 → 系统 → 关于”中查看，Windows 7 在“开始”菜单中右键单击“计算机”，选择“属性”查看。"
         L"也可以在 Kelvane 的“维护工具”页点“" + std::wstring(SystemSummaryTool) + L"”，它会列出系统版本、"
         L"处理器、内存等信息，并可保存到桌面，提问时一并附上。这份信息里有计算机名、用户名、Windows 的产品 ID "
         L"和网卡的 IP 地址：在论坛公开发帖前，请先把它们删去或改成“***”，发邮件给技术支持时可以保留；\r\n"
         L"· 故障的现象：什么时候出现、出现之前做过什么、屏幕上提示的原文；\r\n"
         L"· 排除向导给出的建议，以及您已经试过的方法和结果。\r\n\r\n"
         L"信息写得越完整，我们越能尽快帮您找到原因。";
}

}  // namespace kelvane::helper_text
