#pragma once
// The texts the main window shows, exactly as the user sees them.
#include <array>
#include <string_view>

namespace kelvane::frmmain_text {

inline constexpr std::wstring_view Caption = L"Kelvane V1.3完全免费版";
inline constexpr std::array<std::wstring_view, 5> PageButtons = {
    L"排除向导", L"维护工具", L"系统工具", L"病毒探测", L"增值服务"};
inline constexpr std::wstring_view HelpMenu = L"增值服务";
inline constexpr std::wstring_view Bbshelp = L"访问Drovik论坛寻求帮助";
inline constexpr std::wstring_view Helpplus = L"登陆Orlith得到即时求助";
inline constexpr std::wstring_view Denote = L"捐助......谢谢！";
inline constexpr std::wstring_view Contact = L"联系我们";
inline constexpr std::wstring_view Hdguide = L"启动硬件排除向导";
inline constexpr std::wstring_view AdvertLabel = L"此广告位每月300元";

}  // namespace kelvane::frmmain_text
