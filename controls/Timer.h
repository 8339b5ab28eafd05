#pragma once
// A page timer: while enabled it calls its tick handler every `interval`
// milliseconds (as often as the system's timer allows). It owns a hidden
// message-only window, so any page can have timers without routing WM_TIMER.
// A tick may arrive while an earlier tick's handler waits in a message box; the
// handler decides whether to act then.
#include <windows.h>

#include <functional>

#include "common/Handles.h"

namespace kelvane {

class Timer {
 public:
  Timer(UINT intervalMs, std::function<void()> onTick);
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  void setEnabled(bool enabled);
  bool enabled() const { return enabled_; }
  UINT interval() const { return interval_; }

  LRESULT handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  UINT interval_;
  std::function<void()> onTick_;
  bool enabled_ = false;
  UniqueWindow window_;
};

// One pass of event processing: handles every message already waiting, with the
// keyboard navigation of `dialogHost`'s window tree, and returns. A quit request
// met here is put back for the main loop.
void processPendingEvents(HWND dialogHost);

}  // namespace kelvane
