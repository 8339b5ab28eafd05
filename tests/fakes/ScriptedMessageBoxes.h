#pragma once
// Message boxes that answer from a script and record what they were asked. An
// entry may carry an action that runs while its box is "open" (before it answers),
// as the user or a virus could act while a real box waits. Once the script is used
// up, every box gets `fallback`.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "common/MessageBox.h"

namespace kelvane::testing {

struct ShownBox {
  std::wstring text;
  std::wstring title;
  unsigned flags = 0;
};

class ScriptedMessageBoxes : public MessageBoxes {
 public:
  struct Answer {
    int answer;
    std::function<void()> whileOpen;
  };

  ScriptedMessageBoxes& then(int answer, std::function<void()> whileOpen = nullptr) {
    script.push_back(Answer{answer, std::move(whileOpen)});
    return *this;
  }

  int show(WindowHandle, std::wstring_view text, std::wstring_view title, unsigned flags) override {
    shown.push_back(ShownBox{std::wstring(text), std::wstring(title), flags});
    if (script.empty()) return fallback;
    Answer next = std::move(script.front());
    script.pop_front();
    if (next.whileOpen) next.whileOpen();
    return next.answer;
  }

  std::vector<std::wstring> texts() const {
    std::vector<std::wstring> result;
    for (const ShownBox& box : shown) result.push_back(box.text);
    return result;
  }

  std::deque<Answer> script;
  std::vector<ShownBox> shown;
  int fallback = IdOk;
};

}  // namespace kelvane::testing
