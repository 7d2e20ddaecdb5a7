// Form: a window built from a layout table, delivering its events to event procedures.
#include "Form.h"

#include "Dpi.h"
#include "Icon.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>

namespace {

constexpr wchar_t kFormClass[] = L"Tovix.Form";
constexpr wchar_t kOwnerClass[] = L"Tovix.Owner";

// A fixed single frame: a thin frame the user cannot resize, and a title bar
// with the window icon, the caption and Close, but no minimise or maximise box.
// Like a dialog box it does not clip its controls out of its own painting: it
// paints nothing but its background, and under Wine the clipping made closing
// the window half a millisecond slower.
constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;

// Sent before WM_DPICHANGED on Windows 10 1703 and later; the headers give it
// only to programs that require that version.
#ifndef WM_GETDPISCALEDSIZE
#define WM_GETDPISCALEDSIZE 0x02E4
#endif

// What the user is told when Windows refuses the window.
constexpr wchar_t kNoClass[] = L"Tovix could not register its window class.";
constexpr wchar_t kNoWindow[] = L"Tovix could not create its window.";

std::unique_ptr<Control> makeControl(const ControlRow& row) {
  if (row.kind == ControlKind::Image) return std::make_unique<Image>(row);
  if (row.kind == ControlKind::Label) return std::make_unique<Label>(row);
  if (row.kind == ControlKind::TextBox) return std::make_unique<TextBox>(row);
  return std::make_unique<CommandButton>(row);
}

// A window class of the program's, owned for the form. A class registered
// already (another form of this process lives) is used as it is, owned by
// none; any other refusal leaves the form without a window.
UniqueClass registerClass(const wchar_t* name, WNDPROC procedure, HICON big = nullptr, HICON small = nullptr) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.hIcon = big;
  windowClass.hIconSm = small;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = name;
  const ATOM atom = RegisterClassExW(&windowClass);
  if (atom == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) refuse(kNoClass);
  return UniqueClass(atom);
}

// Arial at regular weight in the Western character set; sizes in hundredths of a point.
UniqueFont createArial(int hundredthsOfPoint, int dotsPerInch) {
  LOGFONTW font{};
  font.lfHeight = -MulDiv(hundredthsOfPoint, dotsPerInch, 7200);
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = ANSI_CHARSET;
  font.lfOutPrecision = OUT_DEFAULT_PRECIS;
  font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  font.lfQuality = DEFAULT_QUALITY;
  font.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
  lstrcpyW(font.lfFaceName, L"Arial");
  return UniqueFont(CreateFontIndirectW(&font));
}

}  // namespace

Form::Form(const FormRow& form, std::span<const ControlRow> controls) : form_(form) {
  for (const ControlRow& row : controls) controls_.push_back(makeControl(row));
}

// A refusal on the way stops the form: the window does not open, and End
// says what failed. Where the common controls' classes are missing,
// creating a control says so.
void Form::Load() {
  try {
    const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&classes);
    createWindow();
    createControls();
    Form_Load();
  } catch (...) {
    stop();
  }
}

// Called in a handler: what was thrown is kept for End to tell.
void Form::stop() {
  refusal_ = refusalOfCurrentException();
  PostQuitMessage(1);
}

SIZE Form::outerSizeAt(int dpi) const {
  const SIZE client{twipsToPixels(form_.clientWidth, dpi), twipsToPixels(form_.clientHeight, dpi)};
  return outerSize(client, kFormStyle, dpi);
}

// The window opens centred in the work area of the monitor the user is working
// on, laid out at that monitor's DPI, its title bar never above the work area.
// It is owned by a hidden window of its own: an owned window has no task-bar
// button, and unlike a tool window it keeps its icon and full caption.
//
// Its icons come with its class, registered for this form at the window's
// DPI, and Windows shows a class's icons for a window given none of its own.
// Given to the window once made (WM_SETICON, once for each size), they took
// 2 to 3 ms of the start under Wine, which hands them on to X at each. Where
// the class exists already (another form lives), the window is given its icons.
void Form::createWindow() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  ownerClass_ = registerClass(kOwnerClass, DefWindowProcW);
  owner_.reset(
      CreateWindowExW(0, kOwnerClass, form_.caption, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr));
  if (!owner_) refuse(kNoWindow);

  imageClass_ = registerClass(Image::kClass, Image::windowProc);
  const Workspace workspace = workspaceUnderPointer();
  dotsPerInch_ = workspace.dpi;
  loadIcons();
  formClass_ = registerClass(kFormClass, windowProc, bigIcon_.get(), smallIcon_.get());
  const SIZE size = outerSizeAt(dotsPerInch_);
  const RECT& work = workspace.workArea;
  const int left = work.left + (work.right - work.left - size.cx) / 2;
  const int top = std::max(work.top, work.top + (work.bottom - work.top - size.cy) / 2);
  window_ = CreateWindowExW(0, kFormClass, form_.caption, kFormStyle, left, top, size.cx, size.cy, owner_.get(),
                            nullptr, instance, nullptr);
  if (window_ == nullptr) refuse(kNoWindow);
  attach(window_, this);
  if (!formClass_) giveIcons();
}

// Creation order is the order of the table: it fixes the Tab order.
void Form::createControls() {
  makeFonts();
  for (size_t row = 0; row < controls_.size(); ++row) {
    controls_[row]->create(window_, controlId(row), dotsPerInch_);
    giveFont(*controls_[row]);
  }
}

// The fonts keep their point sizes at the window's DPI.
void Form::makeFonts() {
  arial825_ = createArial(825, dotsPerInch_);
  arial975_ = createArial(975, dotsPerInch_);
  dialogFont_ = scaledDialogFont(dotsPerInch_);
}

// The icons at the sizes Windows shows at the window's DPI, each made and
// owned on its own.
void Form::loadIcons() {
  bigIcon_ = loadIcon(form_.icon, systemMetric(SM_CXICON, dotsPerInch_));
  smallIcon_ = loadIcon(form_.icon, systemMetric(SM_CXSMICON, dotsPerInch_));
}

// The window and its class are given the form's icons, the small one first:
// given the large one alone, Windows makes a small one from it.
void Form::giveIcons() const {
  if (formClass_) {
    SetClassLongPtrW(window_, GCLP_HICONSM, reinterpret_cast<LONG_PTR>(smallIcon_.get()));
    SetClassLongPtrW(window_, GCLP_HICON, reinterpret_cast<LONG_PTR>(bigIcon_.get()));
  }
  SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
  SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
}

// Windows made with CreateWindowEx draw in the bold system font unless given
// one, so the controls that use the platform's dialog font are given it, and
// so are those whose Arial Windows could not make.
void Form::giveFont(const Control& control) const {
  const ControlRow& row = control.row();
  if (row.kind == ControlKind::Image) return;
  HFONT font = row.font == FontKind::Arial825   ? arial825_.get()
               : row.font == FontKind::Arial975 ? arial975_.get()
                                                : dialogFont_.get();
  if (font == nullptr) font = stockDialogFont();
  SendMessageW(control.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

// The window has moved to a monitor of another DPI: everything is laid out
// again at the new DPI, and the window takes the place Windows suggests. The
// controls stay as they are, with their texts and the focus. The old fonts and
// icons are freed once the new are in use.
void Form::onDpiChanged(int dpi, const RECT& suggested) {
  dotsPerInch_ = dpi;
  UniqueFont oldFonts[] = {std::move(arial825_), std::move(arial975_), std::move(dialogFont_)};
  UniqueIcon oldIcons[] = {std::move(bigIcon_), std::move(smallIcon_)};
  makeFonts();
  loadIcons();
  giveIcons();
  for (const auto& control : controls_) {
    if (control->hwnd() == nullptr) continue;  // a stored picture, without a window of its own
    control->moveTo(dpi);
    giveFont(*control);
  }
  SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Form::Show() {
  if (refusal_) return;
  ShowWindow(window_, SW_SHOW);
  SetFocus(GetNextDlgTabItem(window_, nullptr, FALSE));
}

int Form::Run() {
  Load();
  Show();
  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0)) deliver(message);
  return End();
}

// The window goes with its owner, and every control with the window, in one
// call. Destroyed one by one, as their owners would, each visible control
// would first be taken out of the window on the screen and what it covered
// marked for painting: under Wine that made closing a third slower. The
// message comes once the window is gone, so that no half-made window stays
// behind it.
int Form::End() {
  owner_.reset();
  if (!refusal_) return 0;
  tellUser(nullptr, *refusal_);
  return 1;
}

bool Form::DoEvents() {
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) return false;
    deliver(message);
  }
  return true;
}

void Form::deliver(MSG& message) {
  // Tab and Shift+Tab move between the controls as in a dialog box.
  if (IsDialogMessageW(window_, &message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

// Messages sent while the window is being made find no form yet. Whatever
// an event procedure throws stops the form there, and goes no further: an
// exception must not cross the system's code that called this procedure.
LRESULT CALLBACK Form::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) scaleFrameWithDpi(window);
  auto* form = objectOf<Form>(window);
  if (form == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  try {
    return form->onMessage(message, wParam, lParam);
  } catch (...) {
    form->stop();
    return 0;
  }
}

LRESULT Form::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      // The dialog keys send IDOK (Enter) and IDCANCEL (Escape) from no
      // control: neither does anything.
      if (auto* control = objectOf<Control>(reinterpret_cast<HWND>(lParam))) control->command(HIWORD(wParam));
      return 0;
    case WM_MOUSEMOVE:
      Form_MouseMove();
      return 0;
    case WM_GETDPISCALEDSIZE: {
      // The window's size at the new DPI: exactly the client area's twips,
      // rather than the old size scaled, which rounding can leave a pixel off.
      *reinterpret_cast<SIZE*>(lParam) = outerSizeAt(static_cast<int>(wParam));
      return TRUE;
    }
    case WM_DPICHANGED:
      onDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_ACTIVATE:
      onActivate(LOWORD(wParam) != WA_INACTIVE);
      return 0;
    case WM_CLOSE:
      // Closing ends the program; the window goes with the form's owner.
      PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      window_ = nullptr;
      return 0;
    default:
      return DefWindowProcW(window_, message, wParam, lParam);
  }
}

// Like a dialog box, the window gives the focus back to the control that had
// it when the user returns to the window.
void Form::onActivate(bool active) {
  if (!active) {
    lastFocus_ = GetFocus();
  } else if (lastFocus_ != nullptr && IsChild(window_, lastFocus_)) {
    SetFocus(lastFocus_);
  }
}
