// Floor: the plainest Win32 program with Tovix's window and controls, the baseline its benchmarks compare with.
#include <windows.h>

#include <commctrl.h>

#include "Handles.h"

namespace {

template <typename Handle>
using GdiObject = UniqueGdiObject<Handle>;

constexpr wchar_t kClass[] = L"Floor.Window";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr int kClientWidth = 314;
constexpr int kClientHeight = 294;
constexpr int kBannerWidth = 300;
constexpr int kBannerHeight = 63;

enum class Font { Label, Edit, Button };

struct Child {
  const wchar_t* className;
  DWORD style;
  const wchar_t* text;
  int left, top, width, height;
  Font font;
};

// Tovix's controls in Tovix's creation order, at its pixel places at 96 DPI.
// The boxes hold the texts Tovix shows from the benchmark's registry values.
// clang-format off
constexpr Child kChildren[] = {
  {L"STATIC", SS_BITMAP,                                        L"",                  5,   5, 302, 65, Font::Button},
  {L"STATIC", SS_LEFT | SS_NOPREFIX | SS_NOTIFY,                L"Status Name:",     16,  93,  76, 23, Font::Label},
  {L"EDIT",   ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, L"My Computer",      107,  87, 192, 27, Font::Edit},
  {L"STATIC", SS_LEFT | SS_NOPREFIX | SS_NOTIFY,                L"Status Icon:",     16, 148,  73, 29, Font::Label},
  {L"EDIT",   ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, L"explorer.exe#0100", 107, 143, 123, 27, Font::Edit},
  {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP,                       L"Find...",         240, 141,  60, 28, Font::Button},
  {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP,                       L"Apply changes...", 99, 246, 118, 28, Font::Button},
  {L"STATIC", SS_LEFT | SS_NOPREFIX | SS_NOTIFY,
   L"Remenber for see the changes you need restart your computer",                   19, 193, 236, 32, Font::Label},
};
// clang-format on

GdiObject<HFONT> arial(int pixels) {
  return GdiObject<HFONT>(CreateFontW(-pixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                      OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                      DEFAULT_PITCH | FF_SWISS, L"Arial"));
}

// A banner drawn in code: sky over ground, the size of Tovix's pictures.
GdiObject<HBITMAP> banner() {
  HDC screen = GetDC(nullptr);
  GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(screen, kBannerWidth, kBannerHeight));
  HDC dc = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  HGDIOBJ previous = SelectObject(dc, bitmap.get());
  const RECT sky{0, 0, kBannerWidth, 40};
  const RECT ground{0, 40, kBannerWidth, kBannerHeight};
  GdiObject<HBRUSH> skyBrush(CreateSolidBrush(RGB(96, 160, 224)));
  GdiObject<HBRUSH> groundBrush(CreateSolidBrush(RGB(64, 128, 64)));
  FillRect(dc, &sky, skyBrush.get());
  FillRect(dc, &ground, groundBrush.get());
  SelectObject(dc, previous);
  DeleteDC(dc);
  return bitmap;
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // The themed controls its manifest asks for, as Tovix has them.
  const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&classes);

  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = windowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kClass;
  RegisterClassExW(&windowClass);

  RECT outer{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&outer, kStyle, FALSE, 0);
  const int width = outer.right - outer.left;
  const int height = outer.bottom - outer.top;
  HWND window =
      CreateWindowExW(0, kClass, L"Floor", kStyle, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                      (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 1;

  // The fonts and the bitmap outlive the controls, which go with the window inside the loop.
  const GdiObject<HFONT> labelFont = arial(11);
  const GdiObject<HFONT> editFont = arial(13);
  const GdiObject<HBITMAP> picture = banner();
  for (const Child& child : kChildren) {
    HWND control = CreateWindowExW(0, child.className, child.text, WS_CHILD | WS_VISIBLE | child.style, child.left,
                                   child.top, child.width, child.height, window, nullptr, instance, nullptr);
    const HFONT font = child.font == Font::Label  ? labelFont.get()
                       : child.font == Font::Edit ? editFont.get()
                                                  : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (child.style & SS_BITMAP)
      SendMessageW(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture.get()));
  }

  ShowWindow(window, SW_SHOW);
  SetFocus(GetNextDlgTabItem(window, nullptr, FALSE));
  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(window, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}
