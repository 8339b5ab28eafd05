#include "controls/Timer.h"

#include "controls/WindowClass.h"

namespace kelvane {
namespace {
constexpr wchar_t TimerClass[] = L"KelvaneTimer";
constexpr UINT_PTR TimerId = 1;
}  // namespace

Timer::Timer(UINT intervalMs, std::function<void()> onTick) : interval_(intervalMs), onTick_(std::move(onTick)) {
  registerWindowClass(TimerClass, windowProcedure<Timer>);
  window_.reset(CreateWindowExW(0, TimerClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                GetModuleHandleW(nullptr), this));
}

void Timer::setEnabled(bool enabled) {
  if (enabled == enabled_ || !window_) return;
  enabled_ = enabled && SetTimer(window_.get(), TimerId, interval_, nullptr) != 0;
  if (!enabled) KillTimer(window_.get(), TimerId);
}

LRESULT Timer::handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == TimerId) {
    if (enabled_ && onTick_) onTick_();
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

void processPendingEvents(HWND dialogHost) {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    if (dialogHost && IsDialogMessageW(dialogHost, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace kelvane
