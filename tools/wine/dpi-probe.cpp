// Prints the DPI that a program started now gets, for the scripts that ask Wine
// for one: "monitor=M screen=S", the primary monitor's DPI as a program aware
// of per-monitor DPI sees it (Tovix lays itself out at it) and the screen's
// (GetDeviceCaps). Wine 10, like Windows, fixes a monitor's DPI when the
// session starts, so a setting written into a running session changes the
// second number and not the first.
#include <windows.h>

#include <cstdio>

namespace {

using SetAwarenessContextFn = BOOL(WINAPI*)(HANDLE);
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

template <typename Fn>
Fn function(const wchar_t* library, const char* name) {
  HMODULE module = LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

}  // namespace

int wmain() {
  // Aware of each monitor's DPI, as Tovix's manifest makes it: a program that
  // is not would be told 96 for every monitor.
  if (const auto set = function<SetAwarenessContextFn>(L"user32.dll", "SetProcessDpiAwarenessContext"))
    set(reinterpret_cast<HANDLE>(-4));  // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2
  HDC screen = GetDC(nullptr);
  const int screenDpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  UINT x = 0, y = 0;
  const auto getDpiForMonitor = function<GetDpiForMonitorFn>(L"shcore.dll", "GetDpiForMonitor");
  HMONITOR primary = MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
  if (getDpiForMonitor == nullptr || FAILED(getDpiForMonitor(primary, 0 /* MDT_EFFECTIVE_DPI */, &x, &y))) y = 0;
  std::printf("monitor=%u screen=%d\n", y, screenDpi);
  return 0;
}
