#include "tools/ToolPager.h"

#include "common/AppPath.h"

namespace kelvane {
namespace {

constexpr float RowStep = 500;      // Top of a row below the one before it
constexpr float ColumnGap = 1000;   // between a left button's right edge and its neighbour

}  // namespace

void ToolPager::place(int index) {
  Placement* button = Text1.element(index);
  Placement* neighbour = Text1.element(index - 1);
  if (!button || !neighbour) return;
  const std::optional<float> top = neighbour->top();
  if (index % 2 == 1) {
    // Left column: one row below the neighbour; Left stays the template's.
    if (top) button->setTop(*top + RowStep);
    return;
  }
  if (top) button->setTop(*top);
  const std::optional<float> left = neighbour->left();
  const std::optional<float> width = neighbour->width();
  if (left && width) button->setLeft(*left + *width + ColumnGap);
}

void ToolPager::hide(int index) {
  if (Placement* button = Text1.element(index)) button->setVisible(false);
}

void ToolPager::showAtFirstRow(int index) {
  Placement* button = Text1.element(index);
  Placement* model = Text1.element(0);
  if (!button || !model) return;
  if (const std::optional<float> top = model->top()) button->setTop(*top + RowStep);
  if (const std::optional<float> left = model->left()) button->setLeft(*left);
  button->setVisible(true);
}

void ToolPager::SetCaption(const std::vector<ToolRecord>& entries) {
  int n = 0;
  for (const ToolRecord& entry : entries) {
    const std::optional<int16_t> added = Text1.add();
    if (!added) break;  // the 16-bit index is used up
    n = *added;
    ToolFiles_.push_back(entry.file);
    Text1.setCaption(n, entry.caption);
    place(n);
    Text1.element(n)->setVisible(true);
    ToolCount_ = static_cast<int16_t>(n);
  }
  for (int i = ToolsPerPage + 1; i <= ToolCount_; ++i) hide(i);
  Text1.realize();
}

void ToolPager::UserControl_Initialize(const std::vector<ToolRecord>& entries) {
  SetCaption(entries);
  PageEnd_ = ToolsPerPage;
}

void ToolPager::NextPage() {
  if (!hasNextPage()) return;
  for (int i = PageEnd_ - ToolsPerPage; i <= PageEnd_; ++i) hide(i);
  showAtFirstRow(PageEnd_ + 1);
  for (int i = PageEnd_ + 2; i <= PageEnd_ + ToolsPerPage; ++i) {
    if (Placement* button = Text1.element(i)) button->setVisible(true);
    place(i);
  }
  PageEnd_ += ToolsPerPage;
  Text1.realize();
}

void ToolPager::PrePage() {
  if (!hasPreviousPage()) return;
  for (int i = PageEnd_ - ToolsPerPage + 1; i <= PageEnd_; ++i) hide(i);
  showAtFirstRow(PageEnd_ - 2 * ToolsPerPage + 1);
  for (int i = PageEnd_ - 2 * ToolsPerPage + 2; i <= PageEnd_ - ToolsPerPage; ++i) {
    if (Placement* button = Text1.element(i)) button->setVisible(true);
    place(i);
  }
  PageEnd_ -= ToolsPerPage;
  Text1.realize();
}

std::optional<ShellRequest> ToolPager::launchRequest(int index, WindowHandle owner,
                                                     const std::wstring& appDirectory) const {
  if (index < 1 || index > ToolCount_) return std::nullopt;
  ShellRequest request;
  request.owner = owner;
  request.file = appPath(appDirectory, L"\\tooll\\") + ToolFiles_[static_cast<size_t>(index)];
  request.show = ShowNormal;
  return request;
}

void placePageLabels(float W, float H, Placement& LblPre, Placement& LblNext) {
  if (const std::optional<float> width = LblPre.width()) LblPre.setLeft(W / 2 - 2000 - *width);
  LblPre.setTop(H - 400);
  LblNext.setLeft(W / 2 + 2000);
  LblNext.setTop(H - 400);
}

}  // namespace kelvane
