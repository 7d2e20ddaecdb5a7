// Floor: the plainest Win32 program with Tovix's window, controls and banner, the baseline its benchmarks compare with.
#include <windows.h>

#include <commctrl.h>
#include <olectl.h>

#include <cstring>

#include "Form1Layout.h"
#include "Handles.h"

namespace {

constexpr wchar_t kClass[] = L"Floor.Window";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr int kUnscaledDpi = 96;

// The boxes hold the texts Tovix shows from the benchmark's registry values.
const wchar_t* textOf(const ControlRow& row) {
  if (&row == &::row(Form1Control::Text1)) return L"My Computer";
  if (&row == &::row(Form1Control::Text2)) return L"explorer.exe#0100";
  return row.text;
}

DWORD styleOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::Label:
      return SS_LEFT | SS_NOPREFIX | SS_NOTIFY;
    case ControlKind::TextBox:
      return ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
    case ControlKind::CommandButton:
      return BS_PUSHBUTTON | WS_TABSTOP;
    case ControlKind::Image:
      // The static stretches the picture to its size: the 200 % one to the DPI's.
      return SS_BITMAP | SS_REALSIZECONTROL | WS_BORDER;
  }
  return 0;
}

const wchar_t* classOf(ControlKind kind) {
  return kind == ControlKind::TextBox ? L"EDIT" : kind == ControlKind::CommandButton ? L"BUTTON" : L"STATIC";
}

UniqueFont arial(int hundredthsOfPoint, int dpi) {
  return UniqueFont(CreateFontW(-MulDiv(hundredthsOfPoint, dpi, 7200), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                DEFAULT_PITCH | FF_SWISS, L"Arial"));
}

// The banner Tovix shows at start, decoded by OLE's picture loader as Tovix
// decodes it: the picture drawn for 100 % at 96 DPI, the one for 200 % above.
// The picture object owns the bitmap.
IPicture* decodeBanner(int dpi) {
  const int id = IDP_BANNER_ICON + (dpi > kUnscaledDpi ? IDP_DRAWN_FOR_200 : 0);
  HRSRC resource = FindResourceW(nullptr, MAKEINTRESOURCEW(id), RT_RCDATA);
  const DWORD bytes = resource != nullptr ? SizeofResource(nullptr, resource) : 0;
  HGLOBAL memory = bytes != 0 ? GlobalAlloc(GMEM_MOVEABLE, bytes) : nullptr;
  if (memory == nullptr) return nullptr;
  std::memcpy(GlobalLock(memory), LockResource(LoadResource(nullptr, resource)), bytes);
  GlobalUnlock(memory);
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {
    GlobalFree(memory);
    return nullptr;
  }
  IPicture* picture = nullptr;
  if (FAILED(OleLoadPicture(stream, static_cast<LONG>(bytes), FALSE, IID_IPicture, reinterpret_cast<void**>(&picture))))
    picture = nullptr;
  stream->Release();
  return picture;
}

HBITMAP bitmapOf(IPicture* picture) {
  OLE_HANDLE handle = 0;
  if (picture != nullptr) picture->get_Handle(&handle);
  return reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      // The owner goes, and the window with it, as Tovix's do. The owner is
      // asked for as such: GA_ROOTOWNER, like GetParent, names the owner of a
      // WS_POPUP window only, so it gave the window itself, and the hidden
      // owner and the thread's input-method window were left for the process's
      // end, sparing the floor its last COM apartment's teardown.
      DestroyWindow(GetWindow(window, GW_OWNER));
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

int run(HINSTANCE instance) {
  // The themed controls its manifest asks for, as Tovix has them.
  const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&classes);

  // Laid out at the screen's DPI, which its manifest lets it see, as Tovix is.
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  IPicture* banner = decodeBanner(dpi);

  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = windowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kClass;
  RegisterClassExW(&windowClass);

  RECT outer{0, 0, twipsToPixels(kForm1.clientWidth, dpi), twipsToPixels(kForm1.clientHeight, dpi)};
  AdjustWindowRectEx(&outer, kStyle, FALSE, 0);
  const int width = outer.right - outer.left, height = outer.bottom - outer.top;
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  // No task-bar button, as Tovix's window has none: Windows gives an owned
  // window none, so the window is owned by a hidden one.
  HWND owner = CreateWindowExW(0, kClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
  HWND window = CreateWindowExW(0, kClass, kForm1.caption, kStyle, work.left + (work.right - work.left - width) / 2,
                                work.top + (work.bottom - work.top - height) / 2, width, height, owner, nullptr,
                                instance, nullptr);
  if (window == nullptr) return 1;

  const UniqueFont arial825 = arial(825, dpi), arial975 = arial(975, dpi);
  for (const ControlRow& row : kForm1Controls) {
    if (!row.visible) continue;
    RECT place{twipsToPixels(row.left, dpi), twipsToPixels(row.top, dpi), twipsToPixels(row.left + row.width, dpi),
               twipsToPixels(row.top + row.height, dpi)};
    if (row.kind == ControlKind::Image) {  // the picture's size at the DPI, and the border
      place.right = place.left + MulDiv(twipsToPixels(row.width, kUnscaledDpi) - 2, dpi, kUnscaledDpi) + 2;
      place.bottom = place.top + MulDiv(twipsToPixels(row.height, kUnscaledDpi) - 2, dpi, kUnscaledDpi) + 2;
    }
    HWND control = CreateWindowExW(0, classOf(row.kind), textOf(row), WS_CHILD | WS_VISIBLE | styleOf(row.kind),
                                   place.left, place.top, place.right - place.left, place.bottom - place.top, window,
                                   nullptr, instance, nullptr);
    const HFONT font = row.font == FontKind::Arial825   ? arial825.get()
                       : row.font == FontKind::Arial975 ? arial975.get()
                                                        : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (row.kind == ControlKind::Image)
      SendMessageW(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmapOf(banner)));
  }

  ShowWindow(window, SW_SHOW);
  SetFocus(GetNextDlgTabItem(window, nullptr, FALSE));
  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(window, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  // The window is gone: the process ends at once, and with it go the fonts,
  // the picture and OLE, as Tovix's do.
  ExitProcess(static_cast<UINT>(message.wParam));
}

}  // namespace

// OLE on the thread for the picture loader, as Tovix has it.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  if (FAILED(OleInitialize(nullptr))) return 1;
  return run(instance);
}
