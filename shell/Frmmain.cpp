#include "shell/Frmmain.h"

#include <windowsx.h>

#include <algorithm>

#include "controls/Dpi.h"
#include "controls/Picture.h"
#include "controls/Twips.h"
#include "controls/WindowClass.h"
#include "res/resource.h"
#include "shell/FrmmainText.h"
#include "shell/Outline.h"
#include "shell/PageSwitch.h"

namespace kelvane {
namespace {

namespace text = frmmain_text;

// The window's light background colour (&H00FDFFCE).
constexpr COLORREF BackColor = RGB(206, 255, 253);
constexpr COLORREF MenuBarColor = RGB(214, 242, 250);
// The design's client area before start-up sets the size; it decides where the
// window is centred.
constexpr float DesignClientWidth = 8925;
constexpr float DesignClientHeight = 8910;
constexpr float StartWidth = 9000;
constexpr float StartHeight = 9115;

constexpr TwipRect MenuPlace{240, 480, 8415, 855};
constexpr TwipRect PagePlace{PageLeft, 1385, PageWidth, PageHeight};
constexpr TwipRect BannerPlace{960, 7920, 7065, 945};
constexpr TwipRect Label1Place{240, 8040, 735, 615};
constexpr TwipRect Label2Place{8040, 8160, 735, 615};

struct PageButtonDesign {
  TwipRect place;
  int pictureId;
  SIZE pictureSize;
};
constexpr std::array<PageButtonDesign, 5> PageButtonDesigns = {{
    {{120, 120, 1335, 615}, IDI_PAGE0, {36, 36}},
    {{1800, 120, 1335, 615}, IDI_PAGE1, {35, 33}},
    {{3480, 120, 1335, 615}, IDI_PAGE2, {39, 36}},
    {{5160, 120, 1455, 615}, IDI_PAGE3, {39, 39}},
    {{6840, 120, 1335, 615}, IDI_PAGE4, {35, 33}},
}};

// The skin controls at their design places; the layout pass moves them.
constexpr TwipRect IMBarPlace{8040, 240, 1695, 255};
constexpr TwipRect ImminPlace{9720, 240, 255, 240};
constexpr TwipRect ImmaxPlace{10080, 240, 255, 240};
constexpr TwipRect ImclosePlace{10440, 240, 255, 240};
constexpr TwipRect PbottomPlace{8400, 2880, 1785, 195};
constexpr TwipRect PrightPlace{10440, 600, 135, 2415};
constexpr TwipRect PjiaoPlace{10560, 2400, 255, 255};

// The frame bits that StripFrame clears: WS_CAPTION (WS_BORDER | WS_DLGFRAME),
// WS_SYSMENU, WS_THICKFRAME, WS_MINIMIZEBOX and WS_MAXIMIZEBOX.
constexpr LONG FrameStyleMask = static_cast<LONG>(0xFF30FFFFu);

// Makes what is not on show at start-up, once the window has painted.
constexpr UINT_PTR CompleteStartupTimer = 1;

enum MenuCommand : WORD { CmdBbshelp = 101, CmdHelpplus, CmdDenote, CmdContact, CmdHdguide };

constexpr DWORD WindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

}  // namespace

Frmmain::Frmmain(FrmmainServices services)
    : services_(std::move(services)),
      // Until the window exists, the system's DPI: a new window opens on the
      // primary monitor, whose DPI the system's is.
      dpi_(systemDpi()),
      twipsPerPixel_(twipsPerPixelAt(dpi_)),
      form_(nullptr, twipsPerPixel_),
      fonts_(dpi_),
      // The skin is decoded on a worker thread while the window is being made.
      skinAhead_(std::in_place, IDB_SKIN, dpi_),
      background_(CreateSolidBrush(BackColor)),
      help_(services_.launcher, services_.messageBoxes, services_.appDirectory),
      frame_(*this),
      immaxTip_(ImmaxTip),
      Pbottom(PbottomPlace.left, PbottomPlace.top, PbottomPlace.width, PbottomPlace.height, twipsPerPixel_),
      Pright(PrightPlace.left, PrightPlace.top, PrightPlace.width, PrightPlace.height, twipsPerPixel_),
      Pjiao(PjiaoPlace.left, PjiaoPlace.top, PjiaoPlace.width, PjiaoPlace.height, twipsPerPixel_),
      Btn_TopMenu([this](int16_t index) { Btn_TopMenu_Click(index); }) {}

Frmmain::~Frmmain() = default;

bool Frmmain::create(int showCommand) {
  // No class icon: the window takes its icon once it has painted (see
  // makeDeferredPart), because a window created with one has the icon handed to
  // the window system at creation, its slowest part under Wine.
  registerWindowClass(FrmmainClass, windowProcedure<Frmmain>, nullptr);
  RECT outer{0, 0, twipsToPixels(DesignClientWidth, twipsPerPixel_),
             twipsToPixels(DesignClientHeight, twipsPerPixel_)};
  adjustWindowRectForDpi(outer, WindowStyle, WS_EX_CONTROLPARENT, dpi_);
  window_.reset(CreateWindowExW(WS_EX_CONTROLPARENT, FrmmainClass, text::Caption.data(), WindowStyle,
                                CW_USEDEFAULT, CW_USEDEFAULT, outer.right - outer.left,
                                outer.bottom - outer.top, nullptr, nullptr, GetModuleHandleW(nullptr), this));
  if (!window_) return false;
  // The window may have opened on a monitor of another DPI: nothing is made in
  // it yet, so everything below is made for that one.
  if (const int actual = windowDpi(window_.get()); actual != dpi_) {
    dpi_ = actual;
    twipsPerPixel_ = twipsPerPixelAt(dpi_);
    fonts_ = UiFonts(dpi_);
  }
  form_ = WindowPlacement(window_.get(), twipsPerPixel_);
  help_.setOwner(window_.get());
  // The system gives every new overlapped window a caption. Clearing the style
  // now, while the window is hidden and has no children, costs nothing: the
  // frame itself changes with Form_Load's one move, so the layout pass's RMe
  // finds nothing left to strip (a frame change is the slowest call of the pass).
  clearFrameStyle(window_.get());
  createSkin();
  createControls();
  // Form_Load sets the width and then the height: one pass at the final size
  // instead of one per step, while the window is still hidden.
  Form_Load();
  layoutReady_ = true;
  Form_Resize();
  ShowWindow(window_.get(), showCommand);
  UpdateWindow(window_.get());
  // What is not on show (the other pages, the wizard's hidden controls) is made
  // once the window has painted, one part per tick: WM_TIMER comes only when no
  // input or paint is pending, so a click meanwhile waits for one part, not for
  // all of them. A page button or a category pressed before then makes what it needs.
  SetTimer(window_.get(), CompleteStartupTimer, USER_TIMER_MINIMUM, nullptr);
  return true;
}

void Frmmain::makeSkinPictures() {
  // The skin is made as one picture for the window's DPI and cut into slices in
  // its own pixels, so edges and corners join at every scale.
  skinDc_.reset();
  smallIcon_ = loadIconPicture(IDI_KELVANE, 16, dpi_);
  skinPicture_ = skinAhead_ ? skinAhead_->take(dpi_) : loadPicture(IDB_SKIN, dpi_);
  skinAhead_.reset();
  // The hover and pressed looks show only under the pointer: made when first
  // needed, or once the window has painted, for the DPI of that moment.
  imagePicturesMade_ = false;
  ImMin1.reset();
  ImMin2.reset();
  ImClose1.reset();
  ImClose2.reset();
  if (skinPicture_) {
    skinDc_.reset(CreateCompatibleDC(nullptr));
    if (skinDc_) SelectObject(skinDc_.get(), skinPicture_.get());
  }
}

void Frmmain::makeImagePictures() {
  if (imagePicturesMade_) return;
  imagePicturesMade_ = true;  // a picture that cannot be made is not tried on every move
  ImMin1 = loadPicture(IDB_MIN_HOVER, dpi_);
  ImMin2 = loadPicture(IDB_MIN_PRESSED, dpi_);
  ImClose1 = loadPicture(IDB_CLOSE_HOVER, dpi_);
  ImClose2 = loadPicture(IDB_CLOSE_PRESSED, dpi_);
}

void Frmmain::createSkin() {
  const HWND self = window_.get();
  makeSkinPictures();
  const float tpp = twipsPerPixel_;
  IMBar = std::make_unique<SkinImage>(self, IdIMBar, L"", IMBarPlace, tpp,
                                      SkinImageEvents{[this](int16_t button) { frame_.IMBar_MouseDown(button); }});
  Immin = std::make_unique<SkinImage>(self, IdImmin, std::wstring(ImminTip), ImminPlace, tpp,
                                      SkinImageEvents{[this](int16_t) { frame_.Immin_MouseDown(); },
                                                      [this](int16_t) { frame_.Immin_MouseMove(); },
                                                      [this](int16_t) { frame_.Immin_MouseUp(); },
                                                      [this] { frame_.Immin_Click(); }});
  Immax = std::make_unique<SkinImage>(self, IdImmax, std::wstring(ImmaxTip), ImmaxPlace, tpp);
  Imclose = std::make_unique<SkinImage>(self, IdImclose, std::wstring(ImcloseTip), ImclosePlace, tpp,
                                        SkinImageEvents{[this](int16_t) { frame_.Imclose_MouseDown(); },
                                                        [this](int16_t) { frame_.Imclose_MouseMove(); },
                                                        [this](int16_t) { frame_.Imclose_MouseUp(); },
                                                        [this] { frame_.Imclose_Click(); }});
}

void Frmmain::showWindowIcon() {
  windowIconMade_ = true;  // an icon that cannot be made is not tried again
  icon_ = loadIconPicture(IDI_KELVANE, 32, dpi_);
  if (!icon_) return;
  // The system reduces the large icon for the caption and the task bar's button.
  SendMessageW(window_.get(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.get()));
  SendMessageW(window_.get(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_.get()));
}

void Frmmain::createTooltips() {
  // A tool tip is a window of its own at the top level, which is costly to
  // make; nobody can point at an image before the window has painted.
  tooltips_ = std::make_unique<SkinTooltips>(window_.get());
  tooltips_->add(*Immin, ImminTip);
  tooltips_->add(*Immax, immaxTip_);
  tooltips_->add(*Imclose, ImcloseTip);
}

SkinImage& Frmmain::skinImage(SkinControlId id) {
  switch (id) {
    case IdIMBar: return *IMBar;
    case IdImmin: return *Immin;
    case IdImmax: return *Immax;
    default: return *Imclose;
  }
}

bool clearFrameStyle(HWND hWnd) {
  const LONG style = GetWindowLongW(hWnd, GWL_STYLE);
  if ((style & FrameStyleMask) == style) return false;
  SetWindowLongW(hWnd, GWL_STYLE, style & FrameStyleMask);
  return true;
}

void StripFrame(HWND hWnd) {
  // A window whose style has no frame bits already has the frame it would take on.
  if (!clearFrameStyle(hWnd)) return;
  SetWindowPos(hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

void Frmmain::RMe() {
  const HWND self = window_.get();
  StripFrame(self);
  const std::optional<float> width = form_.width();
  const std::optional<float> height = form_.height();
  // Without a size there is nothing to cut; an empty region would hide the window.
  if (!width || !height) return;
  const float scale = static_cast<float>(dpi_) / static_cast<float>(DesignDpi);
  const WindowOutline outline = windowOutline(*width / twipsPerPixel_, *height / twipsPerPixel_, scale);
  UniqueRegion region(CreateRectRgn(outline.base.left, outline.base.top, outline.base.right, outline.base.bottom));
  if (!region) return;
  for (const OutlineShape& shape : outline.shapes) {
    const OutlineRect& box = shape.box;
    UniqueRegion part(shape.kind == OutlineShapeKind::Rectangle
                          ? CreateRectRgn(box.left, box.top, box.right, box.bottom)
                          : CreateEllipticRgn(box.left, box.top, box.right, box.bottom));
    if (part) CombineRgn(region.get(), region.get(), part.get(), RGN_OR);
  }
  // From here on the region belongs to the system.
  if (SetWindowRgn(self, region.get(), TRUE)) region.release();
}

void Frmmain::Form_Resize() {
  // Stripping the frame changes the client size and sends WM_SIZE again in the
  // middle of the pass; the outer size is the same, so that pass is not needed.
  if (!layoutReady_ || inLayoutPass_) return;
  inLayoutPass_ = true;
  const std::optional<float> width = form_.width();
  const std::optional<float> height = form_.height();
  HDC target = nullptr;
  if (width && height &&
      backing_.resize(twipsToPixels(*width, twipsPerPixel_), twipsToPixels(*height, twipsPerPixel_))) {
    target = backing_.dc();
  }
  GdiSkinSurface surface(target, skinDc_.get(), smallIcon_.get(), fonts_.caption.get(), twipsPerPixel_, dpi_);
  SkinControls controls{*IMBar, *Immin, *Immax, *Imclose, Pbottom, Pright, Pjiao};
  runLayoutPass({width, height, text::Caption}, controls, surface, [this] { RMe(); });
  RECT outer;
  GetWindowRect(window_.get(), &outer);
  lastPassSize_ = {outer.right - outer.left, outer.bottom - outer.top};
  // The skin below the transparent images changed with the window.
  InvalidateRect(window_.get(), nullptr, TRUE);
  for (const auto* image : {&IMBar, &Immin, &Immax, &Imclose}) {
    InvalidateRect((*image)->hwnd(), nullptr, FALSE);
  }
  inLayoutPass_ = false;
}

HFONT Frmmain::fontForDpi(HFONT font, int oldDpi) {
  for (const auto& [from, to] : rescaledFonts_) {
    if (from == font) return to;
  }
  // A font a page made for itself: an equal one for the new DPI, kept with the window.
  UniqueFont made = rescaledFont(font, oldDpi, dpi_);
  if (!made) return font;
  const HFONT result = made.get();
  pageFontCopies_.push_back(std::move(made));
  rescaledFonts_.emplace_back(font, result);
  return result;
}

void Frmmain::Form_DpiChanged(int dpi, const RECT& suggested) {
  const HWND self = window_.get();
  if (dpi > 0 && dpi != dpi_) {
    const int oldDpi = dpi_;
    // What the previous change replaced: no window, page or design holds it since
    // that change went through them all. Freed when this pass ends, so no handle
    // is reused while the pass maps old fonts to new ones.
    const std::vector<UniqueFont> unused = std::move(retiredFonts_);
    retiredFonts_.clear();
    UiFonts fresh(dpi);
    // The shared fonts map straight to their new selves; page fonts' copies are
    // made again from the copies in use. Both in use until this pass ends.
    rescaledFonts_.clear();
    rescaledFonts_.emplace_back(fonts_.buttonBold.get(), fresh.buttonBold.get());
    rescaledFonts_.emplace_back(fonts_.text.get(), fresh.text.get());
    rescaledFonts_.emplace_back(fonts_.caption.get(), fresh.caption.get());
    retiredFonts_.push_back(std::move(fonts_.buttonBold));
    retiredFonts_.push_back(std::move(fonts_.text));
    retiredFonts_.push_back(std::move(fonts_.caption));
    for (UniqueFont& copy : pageFontCopies_) retiredFonts_.push_back(std::move(copy));
    pageFontCopies_.clear();
    fonts_ = std::move(fresh);  // pages made later take these through their context
    dpi_ = dpi;
    twipsPerPixel_ = twipsPerPixelAt(dpi);
    form_.setTwipsPerPixel(twipsPerPixel_);
    makeSkinPictures();
    // An image that shows a picture shows the one made for this DPI.
    showPicture(SkinImageId::Immin, frame_.Immin().picture());
    showPicture(SkinImageId::Imclose, frame_.Imclose().picture());
    DpiChange change{oldDpi, dpi, twipsPerPixel_, [this, oldDpi](HFONT font) { return fontForDpi(font, oldDpi); }};
    const auto scale = [&change](int pixels) { return change.scale(pixels); };
    Pbottom.rescale(scale);
    Pright.rescale(scale);
    Pjiao.rescale(scale);
    rescaleDescendants(self, change);
    lastPassSize_ = {-1, -1};
  }
  SetWindowPos(self, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  // The size may be what it was (a rectangle the system kept): the pass runs anyway.
  RECT outer;
  GetWindowRect(self, &outer);
  if (outer.right - outer.left != lastPassSize_.cx || outer.bottom - outer.top != lastPassSize_.cy) Form_Resize();
  RedrawWindow(self, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void Frmmain::onMouseMove(LPARAM at) {
  // The decorating pieces stand where images stood, which took the moves over
  // them: the window's own surface is only what no piece covers.
  const int x = GET_X_LPARAM(at);
  const int y = GET_Y_LPARAM(at);
  if (Pbottom.contains(x, y) || Pright.contains(x, y) || Pjiao.contains(x, y)) return;
  Form_MouseMove();
}

void Frmmain::paintBacking(HDC dc, const RECT& area) const {
  if (backing_.empty()) {
    FillRect(dc, &area, background_.get());
  } else {
    backing_.show(dc, area);
  }
}

void Frmmain::showPicture(SkinImageId image, SkinPicture picture) {
  const bool close = image == SkinImageId::Imclose;
  SkinImage* target = close ? Imclose.get() : Immin.get();
  if (!target) return;
  HBITMAP bitmap = nullptr;
  if (picture != SkinPicture::None) makeImagePictures();
  if (picture == SkinPicture::Hover) bitmap = close ? ImClose1.get() : ImMin1.get();
  if (picture == SkinPicture::Pressed) bitmap = close ? ImClose2.get() : ImMin2.get();
  target->setPicture(bitmap);
}

void Frmmain::setImmaxTip(std::wstring_view tip) {
  if (tip == immaxTip_) return;
  immaxTip_ = tip;
  if (tooltips_ && Immax) tooltips_->setText(Immax->hwnd(), tip);
  // The window text is the image's name for screen readers: it says what the tip says.
  if (Immax) SetWindowTextW(Immax->hwnd(), immaxTip_.c_str());
}

void Frmmain::releaseCapture() { ReleaseCapture(); }

void Frmmain::startWindowMove() {
  // No position in lParam: the move loop starts from where the pointer is.
  SendMessageW(window_.get(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

void Frmmain::minimise() { ShowWindow(window_.get(), SW_MINIMIZE); }

void Frmmain::unload() { Form_Unload(); }

void Frmmain::createControls() {
  const HWND self = window_.get();
  Menu = std::make_unique<Panel>(self, PanelDesign{MenuPlace, true, MenuBarColor, L"Menu", false, nullptr},
                                 twipsPerPixel_);
  createPageButtons();
  FixWidze1 = std::make_unique<FixWidze>(pageContext());
  const HFONT body = fonts_.text.get();
  Adwick_AD1 = std::make_unique<Banner>(self, BannerPlace, fonts_.caption.get(), body, twipsPerPixel_);
  LabelDesign advert{std::wstring(text::AdvertLabel), Label1Place, true, fonts_.buttonBold.get(),
                     RGB(0, 0, 0), RGB(255, 255, 255), SS_LEFT};
  Label1 = std::make_unique<Label>(self, advert, twipsPerPixel_);
  advert.place = Label2Place;
  Label2 = std::make_unique<Label>(self, advert, twipsPerPixel_);
  createHelpMenu();
}

PageContext Frmmain::pageContext() const {
  return {window_.get(), PagePlace, fonts_, twipsPerPixel_, services_.launcher, services_.messageBoxes,
          services_.appDirectory};
}

void Frmmain::completeStartup() {
  while (makeDeferredPart()) {
  }
}

bool Frmmain::makeDeferredPart() {
  // New child windows go to the bottom of the stacking order; each page joins
  // the one before it, as the keyboard's Tab order follows the stacking order.
  const auto stackAfter = [](HWND page, HWND before) {
    SetWindowPos(page, before, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
  };
  if (!windowIconMade_) {
    showWindowIcon();
  } else if (!FixWidze1->hiddenControlsMade()) {
    FixWidze1->createHiddenControls();
  } else if (!tooltips_) {
    createTooltips();
  } else if (!imagePicturesMade_) {
    makeImagePictures();
  } else if (!RepairTool1) {
    RepairTool1 = std::make_unique<RepairTool>(pageContext());
    stackAfter(RepairTool1->hwnd(), FixWidze1->hwnd());
  } else if (!SysTool1) {
    SysTool1 = std::make_unique<SysTool>(pageContext());
    stackAfter(SysTool1->hwnd(), RepairTool1->hwnd());
  } else if (!VirusDetect1) {
    VirusDetect1 = std::make_unique<VirusDetect>(pageContext());
    stackAfter(VirusDetect1->hwnd(), SysTool1->hwnd());
  } else {
    KillTimer(window_.get(), CompleteStartupTimer);
    return false;
  }
  return true;
}

void Frmmain::createPageButtons() {
  for (size_t i = 0; i < PageButtonDesigns.size(); ++i) {
    const PageButtonDesign& design = PageButtonDesigns[i];
    ButtonDesign button{std::wstring(text::PageButtons[i]), design.place, true, fonts_.buttonBold.get(),
                        nullptr, design.pictureSize, false, design.pictureId};
    Btn_TopMenu.add(Menu->hwnd(), button, twipsPerPixel_);
  }
}

void Frmmain::createHelpMenu() {
  // A menu that is never shown as a menu bar; its one pop-up is the help menu.
  topmenu.reset(CreateMenu());
  HMENU popup = CreatePopupMenu();
  AppendMenuW(popup, MF_STRING, CmdBbshelp, text::Bbshelp.data());
  AppendMenuW(popup, MF_STRING, CmdHelpplus, text::Helpplus.data());
  AppendMenuW(popup, MF_STRING, CmdDenote, text::Denote.data());
  AppendMenuW(popup, MF_STRING, CmdContact, text::Contact.data());
  AppendMenuW(popup, MF_STRING, CmdHdguide, text::Hdguide.data());
  AppendMenuW(topmenu.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(popup), text::HelpMenu.data());
}

PageList Frmmain::pages() {
  return {FixWidze1.get(), RepairTool1.get(), SysTool1.get(), VirusDetect1.get()};
}

void Frmmain::Form_Load() {
  // Centre from the size the window was created with; it is not centred again
  // after the size is set, so it sits exactly in the middle only when the two agree.
  const float screenWidth = static_cast<float>(GetSystemMetrics(SM_CXSCREEN)) * twipsPerPixel_;
  const float screenHeight = static_cast<float>(GetSystemMetrics(SM_CYSCREEN)) * twipsPerPixel_;
  const float left = (screenWidth - form_.width().value_or(0)) / 2;
  const float top = (screenHeight - form_.height().value_or(0)) / 2;
  // Centred, then sized: the window is hidden, so one move that also takes on
  // the cleared frame ends where the four steps would, at a quarter of the
  // round trips to the window system.
  const auto pixels = [this](float twips) { return twipsToPixels(twips, twipsPerPixel_); };
  SetWindowPos(window_.get(), nullptr, pixels(left), pixels(top), pixels(StartWidth), pixels(StartHeight),
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  Btn_TopMenu_Click(0);
  Adwick_AD1->start();
}

void Frmmain::Form_Unload() {
  Adwick_AD1->stop();
  // No page is told: a running detection ends with the process.
  if (services_.endProcess) services_.endProcess();
}

void Frmmain::Btn_TopMenu_Click(int16_t index) {
  if (index == HelpMenuButton) {
    showHelpMenu();
    return;
  }
  // The wizard always exists; any other page is made now if start-up has not yet.
  if (index != 0) completeStartup();
  showPage(index, pages(), *Menu, *FixWidze1);
}

void Frmmain::HideAll() {
  FixWidze1->setVisible(false);
  if (SysTool1) SysTool1->setVisible(false);
}

bool Frmmain::translatePageKey(const MSG& message) {
  if (message.message != WM_KEYDOWN || !RepairTool1 || !RepairTool1->visible().value_or(false)) return false;
  if (message.hwnd != window_.get() && !IsChild(window_.get(), message.hwnd)) return false;
  return RepairTool1->PageKey(message.wParam);
}

void Frmmain::showHelpMenu() {
  const CoolButton* button = Btn_TopMenu.element(HelpMenuButton);
  if (!button) return;
  const std::optional<TwipPoint> point = helpMenuPoint(*button);
  if (!point) return;
  POINT screen{twipsToPixels(point->x, twipsPerPixel_), twipsToPixels(point->y, twipsPerPixel_)};
  ClientToScreen(window_.get(), &screen);
  // Modal: returns when the menu has closed; a chosen item arrives as WM_COMMAND.
  TrackPopupMenu(GetSubMenu(topmenu.get(), 0), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, screen.x,
                 screen.y, 0, window_.get(), nullptr);
}

bool Frmmain::onMenuCommand(WORD id) {
  switch (id) {
    case CmdBbshelp: bbshelp_Click(); return true;
    case CmdHelpplus: helpplus_Click(); return true;
    case CmdDenote: denote_Click(); return true;
    case CmdContact: contact_Click(); return true;
    case CmdHdguide: hdguide_Click(); return true;
    default: return false;
  }
}

LRESULT Frmmain::handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (lParam == 0 && HIWORD(wParam) == 0 && onMenuCommand(LOWORD(wParam))) return 0;
      break;
    case WM_SIZE: {
      // A size change runs the pass. The system also reports the unchanged size
      // (when the window is first shown, for one): a pass then would paint and
      // cut exactly what is there already, and on a shown window cutting the
      // outline again is the slowest part of the pass.
      RECT outer;
      GetWindowRect(hwnd, &outer);
      const SIZE size{outer.right - outer.left, outer.bottom - outer.top};
      if (size.cx != lastPassSize_.cx || size.cy != lastPassSize_.cy) Form_Resize();
      return 0;
    }
    case WM_MOUSEMOVE:
      onMouseMove(lParam);
      return 0;
    case WM_GETMINMAXINFO: {
      // At a large scale the design size may pass the screen's: the window keeps
      // it (the system would cut it to the screen) and the user drags it to see all.
      auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
      limits->ptMaxTrackSize.x = std::max<LONG>(limits->ptMaxTrackSize.x, twipsToPixels(StartWidth, twipsPerPixel_) + 1);
      limits->ptMaxTrackSize.y = std::max<LONG>(limits->ptMaxTrackSize.y, twipsToPixels(StartHeight, twipsPerPixel_) + 1);
      return 0;
    }
    case WM_DPICHANGED:
      if (lParam) Form_DpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_TIMER:
      if (wParam != CompleteStartupTimer) break;
      makeDeferredPart();
      return 0;
    case WM_ERASEBKGND: {
      const HDC dc = reinterpret_cast<HDC>(wParam);
      // The window's own erase is always followed by WM_PAINT, which copies all
      // it needs from the backing image: copying here too would put every pixel
      // on the screen twice. Transparent children ask with a DC of their own
      // for what lies below them.
      if (!backing_.empty() && WindowFromDC(dc) == hwnd) return 1;
      RECT area;
      if (GetClipBox(dc, &area) == ERROR) GetClientRect(hwnd, &area);
      paintBacking(dc, area);
      return 1;
    }
    case WM_PAINT: {
      PaintDc paint(hwnd);
      paintBacking(paint.get(), paint.dirty());
      return 0;
    }
    case WM_CLOSE:
      Form_Unload();
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace kelvane
