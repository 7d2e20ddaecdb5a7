// The real binding of the registry seam, and the switch that tests use.
#include "RegistryPlatform.h"

#include <utility>

namespace {

// Resolves one advapi32 function by name each time it is needed, so that the
// program does not pay for the registry library before it reads, and a lookup
// Windows refused once is not held against every later one. Loaded once, the
// library stays for the process; only from the system folder.
template <typename Fn>
Fn advapi32Function(const char* name) {
  HMODULE advapi32 = GetModuleHandleW(L"advapi32.dll");
  if (advapi32 == nullptr) advapi32 = LoadLibraryExW(L"advapi32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (advapi32 == nullptr) return nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(advapi32, name)));
}

using OpenKeyFn = LONG(WINAPI*)(HKEY, LPCSTR, DWORD, REGSAM, PHKEY);
using QueryValueFn = LONG(WINAPI*)(HKEY, LPCSTR, LPDWORD, LPDWORD, LPBYTE, LPDWORD);
using SetValueFn = LONG(WINAPI*)(HKEY, LPCSTR, DWORD, DWORD, const BYTE*, DWORD);
using CloseKeyFn = LONG(WINAPI*)(HKEY);

LONG realOpenKey(HKEY root, const char* path, REGSAM access, HKEY* key) {
  const auto fn = advapi32Function<OpenKeyFn>("RegOpenKeyExA");
  return fn ? fn(root, path, 0, access, key) : ERROR_PROC_NOT_FOUND;
}

LONG realQueryValue(HKEY key, const char* name, DWORD* type, BYTE* data, DWORD* size) {
  const auto fn = advapi32Function<QueryValueFn>("RegQueryValueExA");
  return fn ? fn(key, name, nullptr, type, data, size) : ERROR_PROC_NOT_FOUND;
}

LONG realSetValue(HKEY key, const char* name, DWORD type, const BYTE* data, DWORD size) {
  const auto fn = advapi32Function<SetValueFn>("RegSetValueExA");
  return fn ? fn(key, name, 0, type, data, size) : ERROR_PROC_NOT_FOUND;
}

LONG realCloseKey(HKEY key) {
  const auto fn = advapi32Function<CloseKeyFn>("RegCloseKey");
  return fn ? fn(key) : ERROR_PROC_NOT_FOUND;
}

// An OK-only box with no icon. Win32 captions a box without a title "Error",
// so the application's title is given. The box is owned by the thread's
// active window, so that window takes no input while the box is up.
void realShowMessage(const std::wstring& message) { MessageBoxW(GetActiveWindow(), message.c_str(), L"Tovix", MB_OK); }

RegistryPlatform& current() {
  static RegistryPlatform platform = realRegistryPlatform();
  return platform;
}

}  // namespace

RegistryPlatform realRegistryPlatform() {
  return {realOpenKey, realQueryValue, realSetValue, realCloseKey, realShowMessage};
}

const RegistryPlatform& registryPlatform() { return current(); }

ScopedRegistryPlatform::ScopedRegistryPlatform(RegistryPlatform platform)
    : previous_(std::exchange(current(), std::move(platform))) {}

ScopedRegistryPlatform::~ScopedRegistryPlatform() { current() = std::move(previous_); }
