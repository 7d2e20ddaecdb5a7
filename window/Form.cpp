// Form: a window built from a layout table, delivering its events to event procedures.
#include "Form.h"

#include "Controls.h"

#include <commctrl.h>

#include <algorithm>

namespace {

constexpr wchar_t kFormClass[] = L"Tovix.Form";
constexpr wchar_t kOwnerClass[] = L"Tovix.Owner";

// A fixed single frame: a thin frame the user cannot resize, and a title bar
// with the window icon, the caption and Close, but no minimise or maximise box.
constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;

int screenDotsPerInch() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

// The icon at the sizes Windows shows it: the title bar and system menu use the small one.
HICON loadIcon(int id, int metricX, int metricY) {
  return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON,
                                       GetSystemMetrics(metricX), GetSystemMetrics(metricY), LR_SHARED));
}

ATOM registerClass(const wchar_t* name, WNDPROC procedure, int iconId) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  if (iconId != 0) {
    windowClass.hIcon = loadIcon(iconId, SM_CXICON, SM_CYICON);
    windowClass.hIconSm = loadIcon(iconId, SM_CXSMICON, SM_CYSMICON);
  }
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = name;
  return RegisterClassExW(&windowClass);
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

Form::Form(const FormRow& form, std::span<const ControlRow> controls) : form_(form), rows_(controls) {}

Form::~Form() = default;

int Form::controlId(const ControlRow& row) const { return kFirstControlId + static_cast<int>(&row - rows_.data()); }

void Form::Load() {
  const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&classes);
  dotsPerInch_ = screenDotsPerInch();
  createWindow();
  createControls();
  Form_Load();
}

// The window is owned by a hidden window of its own: an owned window has no
// task-bar button, and unlike a tool window it keeps its icon and full caption.
void Form::createWindow() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  static const ATOM ownerClass = registerClass(kOwnerClass, DefWindowProcW, 0);
  static const ATOM formClass = registerClass(kFormClass, windowProc, form_.icon);
  (void)ownerClass;
  (void)formClass;

  owner_.reset(
      CreateWindowExW(0, kOwnerClass, form_.caption, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr));

  RECT outer{0, 0, pixels(form_.clientWidth), pixels(form_.clientHeight)};
  AdjustWindowRectEx(&outer, kFormStyle, FALSE, 0);
  const int width = outer.right - outer.left;
  const int height = outer.bottom - outer.top;
  const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  CreateWindowExW(0, kFormClass, form_.caption, kFormStyle, left, top, width, height, owner_.get(), nullptr, instance,
                  this);
}

void Form::createControls() {
  arial825_ = createArial(825, dotsPerInch_);
  arial975_ = createArial(975, dotsPerInch_);
  // Creation order is the order of the table: it fixes the Tab order.
  std::ranges::sort(controls_, {}, [](const Control* control) { return &control->row(); });
  for (Control* control : controls_) {
    const ControlRow& row = control->row();
    const RECT place{pixels(row.left), pixels(row.top), pixels(row.left + row.width), pixels(row.top + row.height)};
    control->create(hwnd(), controlId(row), place);
    if (row.kind != ControlKind::Image)
      SendMessageW(control->hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font(row.font)), FALSE);
  }
}

// Windows made with CreateWindowEx draw in the bold system font unless given
// one, so the controls that use the platform's dialog font are given it.
HFONT Form::font(FontKind kind) const {
  switch (kind) {
    case FontKind::Arial825:
      return arial825_.get();
    case FontKind::Arial975:
      return arial975_.get();
    case FontKind::DialogDefault:
      break;
  }
  return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void Form::Show() {
  ShowWindow(hwnd(), SW_SHOW);
  SetFocus(GetNextDlgTabItem(hwnd(), nullptr, FALSE));
}

int Form::Run() {
  Load();
  Show();
  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) deliver(message);
  return static_cast<int>(message.wParam);
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
  if (IsDialogMessageW(hwnd(), &message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

LRESULT CALLBACK Form::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* form = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    form->window_.reset(window);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  auto* form = reinterpret_cast<Form*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (form == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  return form->onMessage(message, wParam, lParam);
}

LRESULT Form::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      onCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_MOUSEMOVE:
      Form_MouseMove();
      return 0;
    case WM_ACTIVATE:
      onActivate(LOWORD(wParam) != WA_INACTIVE);
      return 0;
    case WM_CLOSE:
      // Closing ends the program; the window goes with the form's owner.
      PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrW(hwnd(), GWLP_USERDATA, 0);
      window_.release();
      return 0;
    default:
      return DefWindowProcW(hwnd(), message, wParam, lParam);
  }
}

// The dialog keys send IDOK (Enter) and IDCANCEL (Escape); no control has
// those ids, so neither key does anything.
void Form::onCommand(int id, WORD code) {
  const auto control = std::ranges::find(controls_, id, [this](const Control* c) { return controlId(c->row()); });
  if (control != controls_.end()) (*control)->command(code);
}

// Like a dialog box, the window gives the focus back to the control that had
// it when the user returns to the window.
void Form::onActivate(bool active) {
  if (!active) {
    lastFocus_ = GetFocus();
  } else if (lastFocus_ != nullptr && IsChild(hwnd(), lastFocus_)) {
    SetFocus(lastFocus_);
  }
}
