#pragma once
// Modal message boxes. Pages ask through this interface so tests can script the
// user's answer; the program uses SystemMessageBox (MessageBoxW).
#include <string>
#include <string_view>

#include "common/Launcher.h"

namespace kelvane {

// Button, icon and default-button flags and answers, with their Win32 values.
inline constexpr unsigned MbOk = 0x0;
inline constexpr unsigned MbOkCancel = 0x1;
inline constexpr unsigned MbYesNo = 0x4;
inline constexpr unsigned MbIconError = 0x10;
inline constexpr unsigned MbIconExclamation = 0x30;
inline constexpr unsigned MbIconInformation = 0x40;
inline constexpr unsigned MbDefButton2 = 0x100;
inline constexpr int IdOk = 1;
inline constexpr int IdCancel = 2;
inline constexpr int IdYes = 6;
inline constexpr int IdNo = 7;

// A message box without a title of its own carries the application title.
inline constexpr std::wstring_view ApplicationTitle = L"Kelvane";

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // Shows a modal box and returns the answer (IdOk, IdYes, IdNo, ...).
  // An empty title means the application title.
  virtual int show(WindowHandle owner, std::wstring_view text, std::wstring_view title,
                   unsigned flags) = 0;
};

}  // namespace kelvane
