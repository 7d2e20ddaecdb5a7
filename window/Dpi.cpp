// The DPI a window is laid out at, and the measures that depend on it.
#include "Dpi.h"

namespace {

// The per-monitor functions arrived after Windows 7 (GetDpiForMonitor in 8.1,
// the rest in 10 1607); they are looked up by name, so that Tovix still starts
// where they are missing, and answered there with the screen's one DPI.
// A library not loaded yet is looked for in the system folder alone: on a
// system without it, a file of that name elsewhere is never taken for it.
template <typename Fn>
Fn systemFunction(const wchar_t* library, const char* name) {
  HMODULE module = GetModuleHandleW(library);
  if (module == nullptr) module = LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (module == nullptr) return nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
using EnableNonClientDpiScalingFn = BOOL(WINAPI*)(HWND);

constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI: the DPI the user's scaling asks for

int screenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

int dpiForMonitor(HMONITOR monitor) {
  static const auto getDpiForMonitor = systemFunction<GetDpiForMonitorFn>(L"shcore.dll", "GetDpiForMonitor");
  UINT x = 0, y = 0;
  if (getDpiForMonitor != nullptr && SUCCEEDED(getDpiForMonitor(monitor, kEffectiveDpi, &x, &y)) && y != 0)
    return static_cast<int>(y);
  return screenDpi();
}

}  // namespace

int dpiForWindow(HWND window) {
  static const auto getDpiForWindow = systemFunction<GetDpiForWindowFn>(L"user32.dll", "GetDpiForWindow");
  if (getDpiForWindow != nullptr) return static_cast<int>(getDpiForWindow(window));
  // Windows 8.1 scales per monitor too, but only tells the monitor's DPI.
  return dpiForMonitor(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST));
}

Workspace workspaceUnderPointer() {
  POINT pointer{};
  GetCursorPos(&pointer);
  HMONITOR monitor = MonitorFromPoint(pointer, MONITOR_DEFAULTTOPRIMARY);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(monitor, &info))
    info.rcWork = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  return {info.rcWork, dpiForMonitor(monitor)};
}

void scaleFrameWithDpi(HWND window) {
  static const auto enable = systemFunction<EnableNonClientDpiScalingFn>(L"user32.dll", "EnableNonClientDpiScaling");
  if (enable != nullptr) enable(window);
}

SIZE outerSize(SIZE client, DWORD style, int dpi) {
  static const auto adjustForDpi =
      systemFunction<AdjustWindowRectExForDpiFn>(L"user32.dll", "AdjustWindowRectExForDpi");
  RECT outer{0, 0, client.cx, client.cy};
  // Without the call, Windows draws every frame at the screen's DPI.
  if (adjustForDpi == nullptr || !adjustForDpi(&outer, style, FALSE, 0, static_cast<UINT>(dpi)))
    AdjustWindowRectEx(&outer, style, FALSE, 0);
  return {outer.right - outer.left, outer.bottom - outer.top};
}

int systemMetric(int index, int dpi) {
  static const auto getForDpi = systemFunction<GetSystemMetricsForDpiFn>(L"user32.dll", "GetSystemMetricsForDpi");
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
