// The DPI a window is laid out at, and the measures that depend on it.
#include "Dpi.h"

#include "SystemDlls.h"

namespace {

// The per-monitor functions arrived after Windows 7 (GetDpiForMonitor in 8.1,
// the rest in 10 1607): where they are missing, the screen's one DPI answers.
// user32 is loaded with the program.
template <typename Fn>
Fn user32Function(const char* name) {
  return systemFunction<Fn>(GetModuleHandleW(L"user32.dll"), name);
}

using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
using EnableNonClientDpiScalingFn = BOOL(WINAPI*)(HWND);

constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI: the DPI the user's scaling asks for

// The screen's DPI; that of an unscaled one where Windows gives no screen
// device context to ask.
int screenDpi() {
  HDC screen = GetDC(nullptr);
  if (screen == nullptr) return kUnscaledDpi;
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

// shcore.dll is held only while it is asked: looked for in the system folder
// alone, so that on a system without it a file of that name elsewhere is
// never taken for it.
int dpiForMonitor(HMONITOR monitor) {
  const UniqueLibrary shcore(LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
  const auto getDpiForMonitor = systemFunction<GetDpiForMonitorFn>(shcore.get(), "GetDpiForMonitor");
  UINT x = 0, y = 0;
  if (getDpiForMonitor == nullptr) return screenDpi();
  getDpiForMonitor(monitor, kEffectiveDpi, &x, &y);
  return static_cast<int>(y);
}

}  // namespace

// Where Windows will not tell where the pointer is (it is on a secure
// desktop), the primary monitor's, which holds the point (0, 0).
Workspace workspaceUnderPointer() {
  POINT pointer{};
  if (!GetCursorPos(&pointer)) pointer = {};
  HMONITOR monitor = MonitorFromPoint(pointer, MONITOR_DEFAULTTOPRIMARY);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoW(monitor, &info);
  return {info.rcWork, dpiForMonitor(monitor)};
}

void scaleFrameWithDpi(HWND window) {
  const auto enable = user32Function<EnableNonClientDpiScalingFn>("EnableNonClientDpiScaling");
  if (enable != nullptr) enable(window);
}

// Without AdjustWindowRectExForDpi, Windows draws every frame at the screen's DPI.
SIZE outerSize(SIZE client, DWORD style, int dpi) {
  const auto adjustForDpi = user32Function<AdjustWindowRectExForDpiFn>("AdjustWindowRectExForDpi");
  RECT outer{0, 0, client.cx, client.cy};
  if (adjustForDpi != nullptr)
    adjustForDpi(&outer, style, FALSE, 0, static_cast<UINT>(dpi));
  else
    AdjustWindowRectEx(&outer, style, FALSE, 0);
  return {outer.right - outer.left, outer.bottom - outer.top};
}

int systemMetric(int index, int dpi) {
  const auto getForDpi = user32Function<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
  return getForDpi != nullptr ? getForDpi(index, static_cast<UINT>(dpi)) : GetSystemMetrics(index);
}

HFONT stockDialogFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

// The stock font is made once, for the screen's DPI when the user signed in;
// on a monitor of another DPI its height is scaled like everything else, from
// what it is at 96 DPI. Scaled from the screen's height, itself rounded, it
// would be rounded twice: Wine's 14 pixels at 120 DPI made 20 at 168, not 19.
UniqueFont scaledDialogFont(int dpi) {
  const int screen = screenDpi();
  if (dpi == screen) return {};
  LOGFONTW font{};
  GetObjectW(stockDialogFont(), sizeof font, &font);
  font.lfHeight = MulDiv(MulDiv(font.lfHeight, kUnscaledDpi, screen), dpi, kUnscaledDpi);
  font.lfWidth = MulDiv(MulDiv(font.lfWidth, kUnscaledDpi, screen), dpi, kUnscaledDpi);
  return UniqueFont(CreateFontIndirectW(&font));
}
