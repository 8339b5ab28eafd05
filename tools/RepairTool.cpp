#include "tools/RepairTool.h"

#include <algorithm>
#include <optional>

#include "common/AppPath.h"
#include "common/Files.h"
#include "controls/Dpi.h"
#include "controls/Picture.h"

namespace kelvane {
namespace {

namespace text = repairtool_text;

// Text1(0): above the visible area, hidden, never showing an entry.
constexpr TwipRect ModelPlace{600, -300, 3135, 375};
constexpr TwipRect LabelSize{0, 0, 630, 210};
constexpr TwipRect MissingPlace{600, 200, 7400, 255};
// Between "前一页" and "后一页", which stand 2000 twips either side of the middle.
constexpr TwipRect CutPlace{2367, 6115, 3800, 255};
// Dark blue (&H00C00000) on the system's window colour (&H80000005).
constexpr COLORREF LabelColour = RGB(0, 0, 192);

UniqueFont underlinedFont(float points, int dpi) {
  const UniqueFont base = createPointFont(SongTi, points, false, GB2312_CHARSET, dpi);
  LOGFONTW font{};
  if (!GetObjectW(base.get(), sizeof font, &font)) return {};
  font.lfUnderline = TRUE;
  return UniqueFont(CreateFontIndirectW(&font));
}

int textWidth(HDC dc, std::wstring_view text) {
  SIZE size{0, 0};
  GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
  return size.cx;
}

RECT pixelBounds(const PixelRect& place) {
  return RECT{place.left, place.top, place.left + place.width, place.top + place.height};
}

}  // namespace

RepairTool::RepairTool(const PageContext& context)
    : Panel(context.parent,
            PanelDesign{context.place, false, GetSysColor(COLOR_WINDOW), text::Title, false, nullptr},
            context.twipsPerPixel),
      launcher_(context.launcher),
      messageBoxes_(context.messageBoxes),
      appDirectory_(context.appDirectory),
      buttonFont_(context.fonts.text.get()),
      labelFont_(underlinedFont(10.5f, context.dpi())),
      measureDc_(CreateCompatibleDC(nullptr)) {
  const float tpp = twipsPerPixel();
  ButtonDesign model{text::Model,
                     ModelPlace,
                     false,
                     buttonFont_,
                     nullptr,
                     {0, 0},
                     false};
  model_ = std::make_unique<CoolButton>(hwnd(), model, tpp);
  // Captions are measured in one DC for the whole load; the margin around the
  // text is the template's, so a fitted entry is as wide as its own window would
  // make itself.
  if (measureDc_) SelectObject(measureDc_.get(), buttonFont_ ? buttonFont_ : GetStockObject(DEFAULT_GUI_FONT));
  captionMargin_ = model_->fittingWidth() - textWidth(measureDc_.get(), text::Model);

  const ButtonTemplate element0{text::Model, ModelPlace.left, ModelPlace.top, ModelPlace.width, ModelPlace.height};
  Text1 = std::make_unique<ToolButtonArray>(static_cast<ButtonWindows&>(*this), tpp, element0,
                                            [this](std::wstring_view caption) { return fittingWidth(caption); });
  pager_ = std::make_unique<ToolPager>(*Text1);

  const COLORREF background = GetSysColor(COLOR_WINDOW);
  LblPre = std::make_unique<PageTurnLabel>(
      hwnd(), PageTurnLabelDesign{text::LblPre, LabelSize, labelFont_.get(), LabelColour, background}, tpp);
  LblPre->setOnClick([this] { LblPre_Click(); });
  LblNext = std::make_unique<PageTurnLabel>(
      hwnd(), PageTurnLabelDesign{text::LblNext, LabelSize, labelFont_.get(), LabelColour, background}, tpp);
  LblNext->setOnClick([this] { LblNext_Click(); });

  UserControl_Initialize();
  UserControl_Resize();
}

RepairTool::~RepairTool() = default;

int RepairTool::fittingWidth(std::wstring_view caption) const {
  return textWidth(measureDc_.get(), caption) + captionMargin_;
}

void RepairTool::UserControl_Initialize() {
  // Read a piece at a time and only as far as the page can hold entries, so a
  // huge catalogue costs neither memory nor time.
  ToolCatalogueLoader loader;
  const bool read = readItemFileInPieces(appPath(appDirectory_, L"\\tooll\\tool.txt"), MaxToolRecordBytes,
                                         [&](std::wstring_view record, bool whole) { return loader.take(record, whole); });
  const COLORREF background = GetSysColor(COLOR_WINDOW);
  if (loader.entries().empty()) {
    // Without a catalogue, or with one that names no tool, the page stays empty
    // and says why.
    LblMissing = std::make_unique<Label>(
        hwnd(),
        LabelDesign{read ? text::CatalogueEmpty : text::CatalogueMissing, MissingPlace, true, buttonFont_,
                    RGB(0, 0, 0), background},
        twipsPerPixel());
  }
  if (loader.restLeftOut()) {
    LblCut = std::make_unique<Label>(
        hwnd(), LabelDesign{text::CatalogueCut, CutPlace, true, buttonFont_, RGB(0, 0, 0), background, SS_CENTER},
        twipsPerPixel());
  }
  pager_->UserControl_Initialize(loader.takeEntries());
}

// A turn reaches the windows in finish(), which repaints the page once; a turn
// with no page to go to changes nothing and repaints nothing.
void RepairTool::NextPage() { pager_->NextPage(); }

void RepairTool::PrePage() { pager_->PrePage(); }

bool RepairTool::PageKey(WPARAM key) {
  if (key == VK_PRIOR) {
    LblPre_Click();
    return true;
  }
  if (key == VK_NEXT) {
    LblNext_Click();
    return true;
  }
  return false;
}

void RepairTool::Text1_Click(int index) {
  const std::optional<ShellRequest> request = pager_->launchRequest(index, hwnd(), appDirectory_);
  if (!request) return;
  // The program runs from a checked copy, started by its own program (cmd for
  // a batch file), so nobody who can write the tooll folder decides what runs.
  const OwnFileRequest own{hwnd(), appDirectory_, L"\\tooll\\" + pager_->ToolFiles()[static_cast<size_t>(index)],
                           request->show};
  if (launcher_.startOwnFile(own)) return;
  // A click that starts nothing must not look like one that did. The page says
  // what went wrong; a
  // damaged catalogue's name could be megabytes long, so it is shortened.
  const std::wstring shown = shortenedText(request->file, MAX_PATH);
  messageBoxes_.show(hwnd(), fileSize(request->file) ? text::toolFailed(shown) : text::toolMissing(shown),
                     systool_text::FailureTitle, MbOk | MbIconError);
}

void RepairTool::afterDpiChanged(const DpiChange& change) {
  // Every control has its new font and place: captions are measured in the new font.
  if (change.font && buttonFont_) buttonFont_ = change.font(buttonFont_);
  if (measureDc_) SelectObject(measureDc_.get(), buttonFont_ ? buttonFont_ : GetStockObject(DEFAULT_GUI_FONT));
  captionMargin_ = model_->fittingWidth() - textWidth(measureDc_.get(), text::Model);
  // The windows were moved to the new scale with the rest of the tree.
  std::fill(applied_.begin(), applied_.end(), std::nullopt);
  Text1->rescale(twipsPerPixel(), [&change](int pixels) { return change.scale(pixels); });
  fitLabelToText(LblPre->hwnd(), SS_LEFT);
  fitLabelToText(LblNext->hwnd(), SS_LEFT);
  UserControl_Resize();
}

void RepairTool::UserControl_Resize() {
  const std::optional<float> W = width();
  const std::optional<float> H = height();
  if (!W || !H || !LblPre || !LblNext) return;
  placePageLabels(*W, *H, *LblPre, *LblNext);
  if (LblCut) {
    // Centred in the row of the page-turn labels, between them.
    LblCut->setLeft(*W / 2 - CutPlace.width / 2);
    LblCut->setTop(*H - 400);
  }
}

bool RepairTool::onMessage(UINT message, WPARAM, LPARAM, LRESULT& result) {
  if (message == WM_SIZE) {
    UserControl_Resize();
    result = 0;
    return true;
  }
  return false;
}

bool RepairTool::addWindow() {
  std::unique_ptr<CoolButton> button = model_->copy();
  if (!button || !button->hwnd()) return false;
  const int slot = static_cast<int>(windows_.size());
  button->setOnClick([this, slot] { Text1_Click(Text1->elementInSlot(slot)); });
  windows_.push_back(std::move(button));
  applied_.emplace_back();
  return true;
}

void RepairTool::present(int slot, const std::wstring& caption, const PixelRect& place) {
  std::optional<std::wstring> changed;
  if (windows_[static_cast<size_t>(slot)]->caption() != caption) changed = caption;
  pending_.push_back({slot, std::move(changed), place, true});
}

void RepairTool::conceal(int slot) { pending_.push_back({slot, std::nullopt, {}, false}); }

void RepairTool::finish() {
  if (pending_.empty()) return;
  // Captions and places change without painting anything; then the part of the
  // page they touched paints once, buttons and all. Only windows whose place or
  // visibility changes are moved: a page turn hands each window the same row of
  // the next page, so mostly its caption alone changes.
  RECT changed{0, 0, 0, 0};
  bool wholePage = false;
  std::vector<const PendingChange*> moves;
  for (const PendingChange& change : pending_) {
    if (change.caption) windows_[static_cast<size_t>(change.slot)]->replaceCaption(*change.caption);
    std::optional<AppliedPlace>& applied = applied_[static_cast<size_t>(change.slot)];
    const AppliedPlace wanted{change.show, change.show ? change.place : PixelRect{}};
    if (!applied) wholePage = true;  // where the window stands is not known
    for (const std::optional<AppliedPlace>& state : {applied, std::optional(wanted)}) {
      if (!state || !state->shown) continue;
      const RECT bounds = pixelBounds(state->place);
      UnionRect(&changed, &changed, &bounds);
    }
    if (applied != wanted) moves.push_back(&change);
    applied = wanted;
  }
  moveWindows(moves);
  pending_.clear();
  if (!IsWindowVisible(hwnd()) || (!wholePage && IsRectEmpty(&changed))) return;
  if (wholePage || !paintChanged(changed)) {
    RedrawWindow(hwnd(), wholePage ? nullptr : &changed, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
  }
}

bool RepairTool::paintChanged(const RECT& changed) {
  // A turn repaints up to 24 buttons. Under Wine a child window's own paint costs
  // several times what drawing its face does (BeginPaint and EndPaint each ask
  // the window server), so the page draws the part that changed itself,
  // background and buttons, into one bitmap and shows it at once: a turn took
  // 8.1 ms painted by the buttons, 0.9 ms so. The buttons have nothing left to
  // paint. The DC is not clipped by the buttons, so it reaches their faces.
  WindowDc window(hwnd(), DCX_CACHE | DCX_CLIPSIBLINGS);
  const SIZE size{changed.right - changed.left, changed.bottom - changed.top};
  UniqueMemoryDc buffer(CreateCompatibleDC(window.get()));
  UniqueBitmap bitmap = makeDibSection(size.cx, size.cy);
  if (!window.get() || !buffer || !bitmap) return false;
  SelectedObject selected(buffer.get(), bitmap.get());
  SetViewportOrgEx(buffer.get(), -changed.left, -changed.top, nullptr);
  SendMessageW(hwnd(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(buffer.get()), 0);
  const HWND focus = GetFocus();
  for (size_t slot = 0; slot < windows_.size(); ++slot) {
    const std::optional<AppliedPlace>& applied = applied_[slot];
    RECT bounds = applied && applied->shown ? pixelBounds(applied->place) : RECT{};
    if (!IntersectRect(&bounds, &bounds, &changed)) continue;
    windows_[slot]->drawFace(buffer.get(), pixelBounds(applied->place), focus);
  }
  // The page's labels keep what they show; its other children are the buttons.
  const ControlWindow* labels[] = {LblPre.get(), LblNext.get(), LblMissing.get(), LblCut.get()};
  for (const ControlWindow* label : labels) {
    RECT bounds;
    if (!label || !IsWindowVisible(label->hwnd()) || !GetWindowRect(label->hwnd(), &bounds)) continue;
    MapWindowPoints(HWND_DESKTOP, hwnd(), reinterpret_cast<POINT*>(&bounds), 2);
    ExcludeClipRect(window.get(), bounds.left, bounds.top, bounds.right, bounds.bottom);
  }
  BitBlt(window.get(), changed.left, changed.top, size.cx, size.cy, buffer.get(), changed.left, changed.top, SRCCOPY);
  return true;
}

void RepairTool::moveWindows(const std::vector<const PendingChange*>& moves) {
  if (moves.empty()) return;
  // One DeferWindowPos batch moves, shows and hides a whole page of buttons. The
  // page repaints what changed itself, so nothing is redrawn or copied here.
  HDWP batch = BeginDeferWindowPos(static_cast<int>(moves.size()));
  for (const PendingChange* move : moves) {
    const HWND window = windows_[static_cast<size_t>(move->slot)]->hwnd();
    const PixelRect& place = move->place;
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOCOPYBITS |
                       (move->show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE);
    if (batch) batch = DeferWindowPos(batch, window, nullptr, place.left, place.top, place.width, place.height, flags);
    // A failed batch is dropped by the system; the rest go one by one.
    if (!batch) SetWindowPos(window, nullptr, place.left, place.top, place.width, place.height, flags);
  }
  if (batch) EndDeferWindowPos(batch);
}

}  // namespace kelvane
