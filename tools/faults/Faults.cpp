// The fault layer: the plan of which calls fail, what was reached, the
// functions Tovix looks up by name, and operator new, which can fail too.
#include "Faults.h"

#include <bcrypt.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <ranges>
#include <utility>

namespace faults {

namespace {

// Set while the layer itself runs, whose own allocations are not Tovix's.
// (Tovix runs on one thread; allocations of others are not counted.)
bool inLayer = false;

struct Busy {
  Busy() : was(std::exchange(inLayer, true)) {}
  ~Busy() { inLayer = was; }
  bool was;
};

bool inTovix(const char* site) {
  return std::strncmp(site, "./window/", 9) == 0 || std::strncmp(site, "./registry/", 11) == 0;
}

// Whether an entry of the plan names this call: the Nth of its function or
// of its site, the first of the step, or any of them.
bool names(const Site& entry, const std::string& function, const std::string& site, int ofFunction, int ofSite,
           int inStep) {
  const size_t at = entry.rfind('@');
  const std::string_view who = std::string_view(entry).substr(0, at);
  const std::string_view which = at == Site::npos ? "1" : std::string_view(entry).substr(at + 1);
  const int call = who == function ? ofFunction : who == site ? ofSite : 0;
  if (call == 0 || which == "*") return call != 0;
  return which == layer().step ? inStep == 1 : std::to_string(call) == which;
}

}  // namespace

// Made on first use, which may come before the program's constructors run
// (the stack guard is drawn first), and never destroyed.
Layer& layer() {
  static Layer* layer = [] {
    const Busy busy;
    auto* made = new Layer;
    if (const char* listed = std::getenv("TOVIX_FAULTS"))
      for (const auto entry : std::views::split(std::string_view(listed), ';'))
        if (!entry.empty()) made->failing.emplace_back(entry.begin(), entry.end());
    return made;
  }();
  return *layer;
}

void reset(std::vector<Site> failing, bool showBoxes) {
  const Busy busy;
  Layer fresh;
  fresh.failing = std::move(failing);
  fresh.walking = true;
  fresh.showBoxes = showBoxes;
  layer() = std::move(fresh);
}

bool fails(const char* function, const char* site) {
  const Busy busy;
  Layer& faults = layer();
  const std::string located = site != nullptr ? std::string(function) + " " + site : function;
  const int ofFunction = ++faults.calls[function], ofSite = site != nullptr ? ++faults.calls[located] : 0;
  const std::string inStep = located + "@" + faults.step;
  if (++faults.calls[inStep] == 1) faults.reached.push_back(inStep);
  for (const Site& entry : faults.failing) {
    if (!names(entry, function, located, ofFunction, ofSite, faults.calls[inStep])) continue;
    if (std::ranges::find(faults.failed, entry) == faults.failed.end()) faults.failed.push_back(entry);
    return true;
  }
  if (faults.beforeCall) faults.beforeCall(function, ofFunction);
  return false;
}

int messageBox(const char* site, HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
  if (inTovix(site) && fails("MessageBoxW", site)) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return 0;
  }
  if (!layer().walking || layer().showBoxes) return MessageBoxW(owner, text, caption, type);
  const Busy busy;
  layer().boxes.push_back(std::wstring(caption) + L"|" + text);
  return IDOK;
}

LONG openKey(const char* site, HKEY root, LPCSTR path, DWORD options, REGSAM access, PHKEY key) {
  {
    const Busy busy;
    layer().keyAccess.push_back(access);
  }
  return call(&RegOpenKeyExA, ERROR_NOT_ENOUGH_MEMORY, "RegOpenKeyExA", site, root, path, options, access, key);
}

// The key is released either way, so that a test that fails the close
// leaves no handle open.
LONG closeKey(const char* site, HKEY key) {
  const LONG status = RegCloseKey(key);
  return fails("RegCloseKey", site) ? ERROR_NOT_ENOUGH_MEMORY : status;
}

namespace {

// The functions Tovix looks up by name that can fail, each wrapped: its call
// fails as the first call at the site that looked it up, with its documented
// failure. The others are named here as known, and come back as they are.
struct ByName {
  ByName(const char* name, FARPROC wrapper) : name(name), wrapper(wrapper) {}
  const char* name;
  FARPROC wrapper;
  FARPROC real = nullptr;
  std::string site;
};
// Where each wrapped function stands in the table of byName.
enum Wrapped : size_t { kRtlGenRandom, kBCryptGenRandom, kOpenDialog, kDialogError };
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

// The random generators record what they answered, for the stack guard's test.
void recordGenerator(bool answered, const char* name, const void* bytes, ULONG size) {
  if (!answered || size != sizeof(ULONG_PTR)) return;
  layer().generator = name;
  std::memcpy(&layer().generated, bytes, size);
}
BOOLEAN WINAPI rtlGenRandom(void* bytes, ULONG size) {
  const BOOLEAN answered = Wrap<kRtlGenRandom, BOOLEAN(WINAPI*)(void*, ULONG), FALSE>::call(bytes, size);
  recordGenerator(answered, "SystemFunction036", bytes, size);
  return answered;
}
NTSTATUS WINAPI bcryptGenRandom(BCRYPT_ALG_HANDLE algorithm, PUCHAR bytes, ULONG size, ULONG flags) {
  const NTSTATUS status =
      Wrap<kBCryptGenRandom, NTSTATUS(WINAPI*)(BCRYPT_ALG_HANDLE, PUCHAR, ULONG, ULONG), STATUS_NO_MEMORY>::call(
          algorithm, bytes, size, flags);
  recordGenerator(BCRYPT_SUCCESS(status), "BCryptGenRandom", bytes, size);
  return status;
}

// The Open dialog, or what stands in for it; failed, it reports that the
// dialog could not be made.
DWORD dialogError = 0;
BOOL WINAPI openDialog(OPENFILENAMEW* dialog) {
  if (fails("GetOpenFileNameW", byName(kOpenDialog).site.c_str())) {
    dialogError = CDERR_DIALOGFAILURE;
    return FALSE;
  }
  if (layer().openDialog) return layer().openDialog(dialog);
  return reinterpret_cast<BOOL(WINAPI*)(OPENFILENAMEW*)>(reinterpret_cast<void*>(byName(kOpenDialog).real))(dialog);
}
DWORD WINAPI dialogErrorCode() {
  if (dialogError != 0 || layer().openDialog) return std::exchange(dialogError, 0);
  return reinterpret_cast<DWORD(WINAPI*)()>(reinterpret_cast<void*>(byName(kDialogError).real))();
}

ByName& byName(size_t index) {
  static ByName functions[] = {
      // in the order of Wrapped
      {"SystemFunction036", farProc(rtlGenRandom)},
      {"BCryptGenRandom", farProc(bcryptGenRandom)},
      {"GetOpenFileNameW", farProc(openDialog)},
      {"CommDlgExtendedError", farProc(dialogErrorCode)},
      // Fail only on wrong arguments: their lookups alone can fail.
      {"GetDpiForMonitor", nullptr},
      {"AdjustWindowRectExForDpi", nullptr},
      {"GetSystemMetricsForDpi", nullptr},
      {"EnableNonClientDpiScaling", nullptr},
      {"SetDefaultDllDirectories", nullptr},
      {nullptr, nullptr},
  };
  return functions[index];
}

}  // namespace

// Each function looked up is a call of its own: "GetProcAddress(GetOpenFileNameW)".
FARPROC lookUp(HMODULE module, LPCSTR name, const char* site) {
  if (!inTovix(site)) return GetProcAddress(module, name);
  const Busy busy;
  if (fails(("GetProcAddress(" + std::string(name) + ")").c_str(), site)) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  const FARPROC real = GetProcAddress(module, name);
  for (size_t index = 0; byName(index).name != nullptr; ++index) {
    ByName& function = byName(index);
    if (std::strcmp(function.name, name) != 0) continue;
    if (function.wrapper == nullptr || real == nullptr) return real;
    function.real = real;
    function.site = site;
    return function.wrapper;
  }
  layer().unknownNames.push_back(name);
  return real;
}

}  // namespace faults

// Tovix's allocations during a walk go through the layer as "operator new":
// failed, it throws as when the heap is exhausted. The other forms of
// operator new that the runtime gives call this one.
void* operator new(size_t size) {
  using namespace faults;
  if (!inLayer && layer().walking && layer().thread == GetCurrentThreadId() && fails("operator new", nullptr))
    throw std::bad_alloc();
  if (void* memory = std::malloc(size != 0 ? size : 1)) return memory;
  throw std::bad_alloc();
}

// (The compiler would take free() after a new for a mismatch: here it is the pair.)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, size_t) noexcept { std::free(memory); }
