// The seam through which escribeREG reaches the registry and the message box.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// What escribeREG needs of the platform. Each registry call returns the
// registry's status (0 on success); the procedures look at nothing else.
struct RegistryPlatform {
  std::function<LONG(HKEY root, const char* path, REGSAM access, HKEY* key)> openKey;
  std::function<LONG(HKEY key, const char* name, DWORD* type, BYTE* data, DWORD* size)> queryValue;
  std::function<LONG(HKEY key, const char* name, DWORD type, const BYTE* data, DWORD size)> setValue;
  std::function<LONG(HKEY key)> closeKey;
  // Shows one failure to the user and returns when it has been dismissed.
  std::function<void(const std::wstring& message)> showMessage;
};

// The binding in use: the real advapi32 and user32 functions unless a test
// has put its own in place.
const RegistryPlatform& registryPlatform();

// The real binding: the ANSI registry functions of advapi32, resolved by name
// at their first call, and a modal message box captioned "Tovix".
RegistryPlatform realRegistryPlatform();

// Puts a binding in place for as long as the object lives (tests only).
class ScopedRegistryPlatform {
public:
  explicit ScopedRegistryPlatform(RegistryPlatform platform);
  ~ScopedRegistryPlatform();
  ScopedRegistryPlatform(const ScopedRegistryPlatform&) = delete;
  ScopedRegistryPlatform& operator=(const ScopedRegistryPlatform&) = delete;

private:
  RegistryPlatform previous_;
};
