#pragma once
// Enter on an owner-drawn button: the dialog manager keeps Enter for the default
// button unless the focused button asks for it, so the skinned buttons ask for it
// and click themselves, as Space does.
#include <windows.h>

#include <optional>

namespace kelvane {

// For a subclassed button: the answer to `message` when it is part of Enter's
// click, from what the button's class answers (`classAnswer()`); nothing
// otherwise (the button's own procedure handles it).
template <typename ClassAnswer>
std::optional<LRESULT> clickOnEnter(HWND button, UINT message, WPARAM wParam, LPARAM lParam, ClassAnswer classAnswer) {
  if (message == WM_GETDLGCODE && lParam && reinterpret_cast<const MSG*>(lParam)->wParam == VK_RETURN) {
    return classAnswer() | DLGC_WANTMESSAGE;
  }
  if (message == WM_KEYDOWN && wParam == VK_RETURN) {
    SendMessageW(button, BM_CLICK, 0, 0);
    return 0;
  }
  return std::nullopt;
}

}  // namespace kelvane
