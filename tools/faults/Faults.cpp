// The fault layer: the plan of which call sites fail, what was reached, and
// the functions Tovix looks up by name, wrapped so that they can fail too.
#include "Faults.h"

#include <bcrypt.h>
#include <commdlg.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ranges>
#include <utility>

namespace faults {

// Made on first use, which may come before the program's constructors run
// (the stack guard is drawn first), and never destroyed.
Layer& layer() {
  static Layer* layer = [] {
    auto* made = new Layer;
    if (const char* listed = std::getenv("TOVIX_FAULTS")) {
      for (const auto site : std::views::split(std::string_view(listed), ';'))
        made->failing.emplace_back(site.begin(), site.end());
    }
    return made;
  }();
  return *layer;
}

void reset(std::vector<Site> failing, bool showBoxes) {
  Layer fresh;
  fresh.failing = std::move(failing);
  fresh.walking = true;
  fresh.showBoxes = showBoxes;
  layer() = std::move(fresh);
}

namespace {

bool inTovix(const char* site) {
  return std::strncmp(site, "./window/", 9) == 0 || std::strncmp(site, "./registry/", 11) == 0;
}

}  // namespace

bool fails(const char* function, const char* site) {
  if (!inTovix(site)) return false;
  Layer& faults = layer();
  const Site called = std::string(function) + " " + site;
  if (std::ranges::find(faults.reached, called) == faults.reached.end()) faults.reached.push_back(called);
  // Listed as the site, or by the function's name alone: its first call anywhere.
  const auto listed =
      std::ranges::find_if(faults.failing, [&](const Site& entry) { return entry == called || entry == function; });
  if (listed == faults.failing.end() || std::ranges::find(faults.failed, *listed) != faults.failed.end()) return false;
  faults.failed.push_back(*listed);
  return true;
}

int messageBox(const char* site, HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
  if (fails("MessageBoxW", site)) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return 0;
  }
  if (!layer().walking || layer().showBoxes) return MessageBoxW(owner, text, caption, type);
  layer().boxes.push_back(std::wstring(caption) + L"|" + text);
  return IDOK;
}

namespace {

// The functions Tovix looks up by name, each wrapped: its call fails as the
// first call at the site that looked it up, with its documented failure.
struct ByName {
  ByName(const char* name, FARPROC wrapper) : name(name), wrapper(wrapper) {}
  const char* name;
  FARPROC wrapper;
  FARPROC real = nullptr;
  std::string site;
};
constexpr size_t kByName = 13;
ByName& byName(size_t index);

template <size_t Index, typename Fn, auto Failure>
struct Wrap;
template <size_t Index, typename R, typename... A, auto Failure>
struct Wrap<Index, R(WINAPI*)(A...), Failure> {
  static R WINAPI call(A... args) {
    const ByName& function = byName(Index);
    if (!fails(function.name, function.site.c_str()))
      return reinterpret_cast<R(WINAPI*)(A...)>(reinterpret_cast<void*>(function.real))(args...);
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return static_cast<R>(Failure);
  }
};
template <typename R, typename... A>
FARPROC farProc(R(WINAPI* function)(A...)) {
  return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(function));
}

using RtlGenRandomFn = BOOLEAN(WINAPI*)(void*, ULONG);
using BCryptGenRandomFn = NTSTATUS(WINAPI*)(BCRYPT_ALG_HANDLE, PUCHAR, ULONG, ULONG);

// The random generators record what they answered, for the stack guard's test.
BOOLEAN WINAPI rtlGenRandom(void* bytes, ULONG size) {
  const BOOLEAN answered = Wrap<9, RtlGenRandomFn, FALSE>::call(bytes, size);
  if (answered && size == sizeof(ULONG_PTR)) layer().generator = "SystemFunction036";
  if (answered && size == sizeof(ULONG_PTR)) std::memcpy(&layer().generated, bytes, size);
  return answered;
}

NTSTATUS WINAPI bcryptGenRandom(BCRYPT_ALG_HANDLE algorithm, PUCHAR bytes, ULONG size, ULONG flags) {
  const NTSTATUS status = Wrap<10, BCryptGenRandomFn, STATUS_NO_MEMORY>::call(algorithm, bytes, size, flags);
  if (BCRYPT_SUCCESS(status) && size == sizeof(ULONG_PTR)) layer().generator = "BCryptGenRandom";
  if (BCRYPT_SUCCESS(status) && size == sizeof(ULONG_PTR)) std::memcpy(&layer().generated, bytes, size);
  return status;
}

// The Open dialog, answered as a user who presses Escape; failed, it reports
// that the dialog could not be made.
DWORD dialogError = 0;
BOOL WINAPI openDialog(OPENFILENAMEW* dialog) {
  if (!layer().walking) return Wrap<11, BOOL(WINAPI*)(OPENFILENAMEW*), FALSE>::call(dialog);
  if (fails("GetOpenFileNameW", byName(11).site.c_str())) dialogError = CDERR_DIALOGFAILURE;
  return FALSE;
}
DWORD WINAPI dialogErrorCode() {
  return layer().walking ? std::exchange(dialogError, 0) : Wrap<12, DWORD(WINAPI*)(), 0>::call();
}

ByName& byName(size_t index) {
  static ByName functions[kByName] = {
      {"RegOpenKeyExA", farProc(Wrap<0, decltype(&RegOpenKeyExA), ERROR_NOT_ENOUGH_MEMORY>::call)},
      {"RegQueryValueExA", farProc(Wrap<1, decltype(&RegQueryValueExA), ERROR_NOT_ENOUGH_MEMORY>::call)},
      {"RegSetValueExA", farProc(Wrap<2, decltype(&RegSetValueExA), ERROR_NOT_ENOUGH_MEMORY>::call)},
      {"RegCloseKey", farProc(Wrap<3, decltype(&RegCloseKey), ERROR_NOT_ENOUGH_MEMORY>::call)},
      {"GetDpiForMonitor", farProc(Wrap<4, HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*), E_OUTOFMEMORY>::call)},
      {"AdjustWindowRectExForDpi", farProc(Wrap<5, BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT), FALSE>::call)},
      {"GetSystemMetricsForDpi", farProc(Wrap<6, int(WINAPI*)(int, UINT), 0>::call)},
      {"EnableNonClientDpiScaling", farProc(Wrap<7, BOOL(WINAPI*)(HWND), FALSE>::call)},
      {"SetDefaultDllDirectories", farProc(Wrap<8, BOOL(WINAPI*)(DWORD), FALSE>::call)},
      {"SystemFunction036", farProc(rtlGenRandom)},
      {"BCryptGenRandom", farProc(bcryptGenRandom)},
      {"GetOpenFileNameW", farProc(openDialog)},
      {"CommDlgExtendedError", farProc(dialogErrorCode)},
  };
  return functions[index];
}

}  // namespace

// Each function looked up is a call of its own: "GetProcAddress(RegCloseKey)".
FARPROC lookUp(HMODULE module, LPCSTR name, const char* site) {
  if (fails(("GetProcAddress(" + std::string(name) + ")").c_str(), site)) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  const FARPROC real = GetProcAddress(module, name);
  for (size_t index = 0; index < kByName && real != nullptr && inTovix(site); ++index) {
    ByName& function = byName(index);
    if (std::strcmp(function.name, name) != 0) continue;
    function.real = real;
    function.site = site;
    return function.wrapper;
  }
  return real;
}

}  // namespace faults
