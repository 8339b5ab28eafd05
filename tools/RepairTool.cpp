#include "tools/RepairTool.h"

#include <optional>

#include "common/AppPath.h"
#include "common/Files.h"
#include "controls/Dpi.h"

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

// Holds a visible page's painting while its buttons change, then paints it once.
// A hidden page is left alone: WM_SETREDRAW would set its visible style again.
class RedrawPaused {
 public:
  explicit RedrawPaused(HWND page) : page_(IsWindowVisible(page) ? page : nullptr) {
    if (page_) SendMessageW(page_, WM_SETREDRAW, FALSE, 0);
  }
  ~RedrawPaused() {
    if (!page_) return;
    SendMessageW(page_, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(page_, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
  }
  RedrawPaused(const RedrawPaused&) = delete;
  RedrawPaused& operator=(const RedrawPaused&) = delete;

 private:
  HWND page_;
};

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

// A turn with no page to go to leaves the page alone: no pause, no repaint.
void RepairTool::NextPage() {
  if (!pager_->hasNextPage()) return;
  RedrawPaused paused(hwnd());
  pager_->NextPage();
}

void RepairTool::PrePage() {
  if (!pager_->hasPreviousPage()) return;
  RedrawPaused paused(hwnd());
  pager_->PrePage();
}

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
  return true;
}

void RepairTool::present(int slot, const std::wstring& caption, const PixelRect& place) {
  CoolButton& button = *windows_[static_cast<size_t>(slot)];
  if (button.caption() != caption) button.setCaption(caption);
  pending_.push_back({button.hwnd(), place, true});
}

void RepairTool::conceal(int slot) { pending_.push_back({windows_[static_cast<size_t>(slot)]->hwnd(), {}, false}); }

void RepairTool::finish() {
  if (pending_.empty()) return;
  // One DeferWindowPos batch moves, shows and hides a whole page of buttons.
  HDWP batch = BeginDeferWindowPos(static_cast<int>(pending_.size()));
  for (const PendingMove& move : pending_) {
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | (move.show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE);
    if (batch) batch = DeferWindowPos(batch, move.window, nullptr, move.place.left, move.place.top,
                                      move.place.width, move.place.height, flags);
    // A failed batch is dropped by the system; the rest go one by one.
    if (!batch) SetWindowPos(move.window, nullptr, move.place.left, move.place.top, move.place.width,
                             move.place.height, flags);
  }
  if (batch) EndDeferWindowPos(batch);
  pending_.clear();
}

}  // namespace kelvane
