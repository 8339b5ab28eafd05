#pragma once
// The repair-tool page without its windows: loading the catalogue into the button
// array `Text1`, turning pages of 24 and naming the program a button starts.
//
// Entry i sits on button i: odd indices form the left column, even ones the right
// column, twelve rows to a page. Every button is placed relative to its
// predecessor (the placement rule), so a right-column button follows the real
// width of its left neighbour, which fits its caption.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/Launcher.h"
#include "controls/Placement.h"
#include "tools/ToolButtonArray.h"
#include "tools/ToolCatalogue.h"

namespace kelvane {

inline constexpr int ToolsPerPage = 24;

class ToolPager {
 public:
  explicit ToolPager(ToolButtonArray& buttons) : Text1(buttons) {}

  // Builds one button per entry, then leaves only the first page on show.
  void SetCaption(const std::vector<ToolRecord>& entries);
  // The page's start: the catalogue's entries loaded, page 1 on show.
  void UserControl_Initialize(const std::vector<ToolRecord>& entries);
  void NextPage();
  void PrePage();
  // Whether a turn has a page to go to; without one a turn does nothing.
  bool hasNextPage() const { return PageEnd_ < ToolCount_; }
  bool hasPreviousPage() const { return PageEnd_ > ToolsPerPage; }

  // What starting entry `index` asks of the shell; nothing for an index without
  // an entry.
  std::optional<ShellRequest> launchRequest(int index, WindowHandle owner,
                                            const std::wstring& appDirectory) const;

  int16_t ToolCount() const { return ToolCount_; }
  // Held wider than 16 bits: a full catalogue's last page ends at 32784.
  int PageEnd() const { return PageEnd_; }
  const std::vector<std::wstring>& ToolFiles() const { return ToolFiles_; }

 private:
  void place(int index);
  void hide(int index);
  void showAtFirstRow(int index);

  ToolButtonArray& Text1;
  std::vector<std::wstring> ToolFiles_{std::wstring()};  // index 0 is never filled
  int16_t ToolCount_ = 0;
  int PageEnd_ = 0;
};

// Places the two page-turn labels on a page of width W and height H (twips); a
// failed access is skipped and the next step runs.
void placePageLabels(float W, float H, Placement& LblPre, Placement& LblNext);

}  // namespace kelvane
