#pragma once
// The texts the wizard page shows, exactly as the user sees them.
#include <string>
#include <string_view>

#include "wizard/RecordText.h"

namespace kelvane::wizard_text {

inline constexpr std::wstring_view MsgBoot = L"启动异常";
inline constexpr std::wstring_view MsgNetware = L"网络异常";
inline constexpr std::wstring_view MsgSystem = L"系统异常";
inline constexpr std::wstring_view MsgErr = L"计算机给出了错误信息";
inline constexpr std::wstring_view MsgAddDevice = L"计算机添加了新的软、硬件后出现故障";
inline constexpr std::wstring_view MsgWin = L"出现在Windows下";
inline constexpr std::wstring_view MsgDos = L"出现在Dos下";
inline constexpr std::wstring_view MsgRemoveDevice = L"卸载该软件或硬件后重试";
inline constexpr std::wstring_view Boot[] = {L"启动速度缓慢", L"黑屏"};
inline constexpr std::wstring_view Net[] = {L"网络速度慢", L"无法访问网络", L"IE异常"};
inline constexpr std::wstring_view Sys[] = {L"系统运行速度慢", L"关机不正常", L"死机", L"声音故障", L"显示异常"};
inline constexpr std::wstring_view FramSol = L"解决方法";

// For a record file and for "\data\sol.ini" alike.
inline std::wstring unreadableFile(const std::wstring& path) {
  return L"排除向导的解决方案数据已损坏：无法读取文件\n" + path + L"\n\n请重新安装本程序以恢复数据文件。";
}

inline std::wstring oversizedRecord(const std::wstring& path) {
  return L"排除向导的解决方案数据已损坏：文件\n" + path + L"\n过大（超过 " +
         std::to_wstring(MaxRecordBytes / 1024) + L" KB），不是本程序的解决方案文件。\n\n请重新安装本程序以恢复数据文件。";
}

inline std::wstring badSolutionCount(const std::wstring& path, const std::wstring& topic) {
  return L"排除向导的解决方案数据已损坏：文件\n" + path + L"\n中 [" + topic +
         L"] 一节的 totalcount 不是 0 到 4 之间的整数。\n\n请重新安装本程序以恢复数据文件。";
}

}  // namespace kelvane::wizard_text
