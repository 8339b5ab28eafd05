#include "wizard/FixWidze.h"

#include "controls/Twips.h"
#include "res/resource.h"
#include "wizard/WizardText.h"

namespace kelvane {
namespace {

namespace text = wizard_text;

constexpr COLORREF PageColour = RGB(240, 250, 255);
constexpr COLORREF FrameColour = RGB(248, 253, 255);
constexpr COLORREF SolutionColour = RGB(0, 0, 192);
constexpr float FaultLeft = 3360;
constexpr float FaultWidth = 1455;
constexpr float FaultHeight = 375;

PanelDesign pageDesign(const PageContext& context) {
  PanelDesign design{context.place, false, PageColour, L"排除向导"};
  design.pictureResource = IDB_WIZARD_BACKGROUND;
  design.pictureAhead = true;  // the page on show at start
  return design;
}

}  // namespace

FixWidze::FixWidze(const PageContext& context)
    : Panel(context.parent, pageDesign(context), context.twipsPerPixel),
      context_(context),
      store_(context.appDirectory, context.messageBoxes, context.endProcess),
      logic_(*this, store_, context.messageBoxes) {
  logic_.setOwner(context.parent);
  createCategoryButtons();
}

void FixWidze::createHiddenControls() {
  if (hiddenControlsMade()) return;
  createFaultButtons();
  createTopicControls();
}

std::unique_ptr<CoolButton> FixWidze::makeButton(std::wstring_view caption, TwipRect place, bool visible,
                                                 std::function<void()> onClick) {
  auto button = std::make_unique<CoolButton>(
      hwnd(), ButtonDesign{std::wstring(caption), place, visible, context_.fonts.buttonBold.get()},
      twipsPerPixel());
  if (onClick) button->setOnClick(std::move(onClick));
  return button;
}

void FixWidze::createCategoryButtons() {
  // A category's faults must exist before it fans them out.
  auto click = [this](void (WizardLogic::*handler)()) {
    return [this, handler] {
      createHiddenControls();
      (logic_.*handler)();
    };
  };
  MsgBoot = makeButton(text::MsgBoot, {1080, 120, 1335, 375}, true, click(&WizardLogic::MsgBoot_Click));
  MsgNetware = makeButton(text::MsgNetware, {1080, 480, 1335, 375}, true, click(&WizardLogic::MsgNetware_Click));
  MsgSystem = makeButton(text::MsgSystem, {1080, 840, 1335, 375}, true, click(&WizardLogic::MsgSystem_Click));
  MsgErr = makeButton(text::MsgErr, {720, 1200, 2055, 495}, true, click(&WizardLogic::MsgErr_Click));
  MsgAddDevice =
      makeButton(text::MsgAddDevice, {0, 1680, 3495, 495}, true, click(&WizardLogic::MsgAddDevice_Click));
}

void FixWidze::createFaultButtons() {
  MsgWin = makeButton(text::MsgWin, {3360, 0, 1455, 375}, false, [this] { logic_.MsgWin_Click(); });
  MsgDos = makeButton(text::MsgDos, {3360, 960, 1455, 375}, false, [this] { logic_.MsgDos_Click(); });
  // Its caption is the advice itself: clicking it does nothing.
  MsgRemoveDevice = makeButton(text::MsgRemoveDevice, {4800, 1800, 3135, 495}, false, nullptr);
  const HFONT font = context_.fonts.buttonBold.get();
  auto addAll = [&](ButtonArray& array, const auto& captions, float firstTop) {
    float top = firstTop;
    for (std::wstring_view caption : captions) {
      array.add(hwnd(), ButtonDesign{std::wstring(caption), {FaultLeft, top, FaultWidth, FaultHeight}, false, font},
                twipsPerPixel());
      top += 360;
    }
  };
  // Design Tops; the fan places them anew whenever it opens.
  addAll(boot, text::Boot, 2520);
  addAll(net, text::Net, 3480);
  addAll(Sys, text::Sys, 4680);
}

void FixWidze::createTopicControls() {
  const PageContext& context = context_;
  TextBoxDesign textDesign{L"", {4920, 120, 2895, 4815}, false, context.fonts.text.get()};
  textDesign.multiLine = true;
  textDesign.verticalScrollBar = true;
  textDesign.readOnly = true;  // the explanation is for reading; it can still be selected and copied
  textDesign.background = RGB(255, 255, 255);
  Text1 = std::make_unique<TextBox>(hwnd(), textDesign, twipsPerPixel());

  PanelDesign frameDesign{{4920, 5040, 2895, 1335}, false, FrameColour, std::wstring(text::FramSol), true,
                          context.fonts.buttonBold.get()};
  FramSol = std::make_unique<Panel>(hwnd(), frameDesign, twipsPerPixel());
  for (int number = 1; number <= MaxSolutions; ++number) {
    LabelDesign label{L"Label" + std::to_wstring(number),
                      {120, 240.0f * static_cast<float>(number), 2895, 255},
                      true,
                      context.fonts.text.get(),
                      SolutionColour,
                      FrameColour};
    LblSol[static_cast<size_t>(number - 1)] = std::make_unique<Label>(FramSol->hwnd(), label, twipsPerPixel());
  }
}

Placement* FixWidze::categoryButton(int menu) {
  switch (menu) {
    case MenuErr: return MsgErr.get();
    case MenuAddDevice: return MsgAddDevice.get();
    case MenuBoot: return MsgBoot.get();
    case MenuNetware: return MsgNetware.get();
    case MenuSystem: return MsgSystem.get();
    default: return nullptr;
  }
}

std::vector<Placement*> FixWidze::faultButtons(int menu) {
  auto elements = [](const ButtonArray& array) {
    std::vector<Placement*> buttons;
    for (int16_t i = 0; i < array.count(); ++i) buttons.push_back(array.element(i));
    return buttons;
  };
  switch (menu) {
    case MenuErr: return {MsgWin.get(), MsgDos.get()};
    case MenuAddDevice: return {MsgRemoveDevice.get()};
    case MenuBoot: return elements(boot);
    case MenuNetware: return elements(net);
    case MenuSystem: return elements(Sys);
    default: return {};
  }
}

Placement* FixWidze::solutionLabel(int number) {
  if (number < 1 || number > MaxSolutions) return nullptr;
  return LblSol[static_cast<size_t>(number - 1)].get();
}

void FixWidze::setSolutionCaption(int number, const std::wstring& caption) {
  if (number >= 1 && number <= MaxSolutions) LblSol[static_cast<size_t>(number - 1)]->setCaption(caption);
}

void FixWidze::setMoveTimer(bool on) {
  if (!Timer_Move) {
    if (!on) return;
    Timer_Move = std::make_unique<Timer>(1, [this] { logic_.Timer_Move_Timer(); });
  }
  Timer_Move->setEnabled(on);
}

void FixWidze::repaint() {
  // Synchronously, so the connector lines are gone before anything moves.
  RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void FixWidze::drawLine(float x1, float y1, float x2, float y2) {
  // Straight onto the page's surface, with the default (black) pen: nothing keeps
  // the lines, so the next repaint of the page erases them.
  WindowDc dc(hwnd());
  MoveToEx(dc.get(), toPixels(x1), toPixels(y1), nullptr);
  LineTo(dc.get(), toPixels(x2), toPixels(y2));
}

}  // namespace kelvane
