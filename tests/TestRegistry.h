// Test helpers: scratch registry keys, and the registry's steps made to fail
// through the fault layer, messages kept instead of shown, calls counted.
#pragma once

#include "Faults.h"

#include <optional>
#include <string>
#include <vector>

// The failure messages, as the user reads them.
using Messages = std::vector<std::wstring>;
inline const std::wstring kOpening = L"Error opening key.";
inline const std::wstring kLength = L"Error getting subkey length.";
inline const std::wstring kValue = L"Error getting subkey value.";
inline const std::wstring kSaving = L"Error saving value.";
inline const std::wstring kClosing = L"Error closing key.";

// A key of the test's own under HKEY_CURRENT_USER, made empty at the start
// and deleted with everything below it at the end.
class ScratchKey {
public:
  explicit ScratchKey(std::wstring path, bool create = true) : path_(std::move(path)) {
    remove();
    if (create) this->create();
  }
  ~ScratchKey() { remove(); }
  ScratchKey(const ScratchKey&) = delete;
  ScratchKey& operator=(const ScratchKey&) = delete;

  const std::wstring& path() const { return path_; }
  bool exists() const {
    HKEY key = nullptr;
    return RegOpenKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS &&
           RegCloseKey(key) == ERROR_SUCCESS;
  }
  void create() const {
    HKEY key = nullptr;
    RegCreateKeyW(HKEY_CURRENT_USER, path_.c_str(), &key);
    RegCloseKey(key);
  }
  void remove() const {
    RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());  // leaves the key itself
    RegDeleteKeyW(HKEY_CURRENT_USER, path_.c_str());
  }

  // A value's bytes as the ANSI API stores and reads them; none if missing.
  void set(const std::wstring& name, DWORD type, const std::string& bytes) const {
    RegSetKeyValueA(HKEY_CURRENT_USER, ansi(path_).c_str(), ansi(name).c_str(), type, bytes.data(),
                    static_cast<DWORD>(bytes.size()));
  }
  struct Value {
    DWORD type;
    std::string bytes;
  };
  std::optional<Value> get(const std::wstring& name) const {
    HKEY key = nullptr;
    RegOpenKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, KEY_QUERY_VALUE, &key);
    Value value{REG_NONE, std::string(1 << 21, '\0')};  // room for the largest value the tests store
    auto size = static_cast<DWORD>(value.bytes.size());
    const LONG status = RegQueryValueExA(key, ansi(name).c_str(), nullptr, &value.type,
                                         reinterpret_cast<BYTE*>(value.bytes.data()), &size);
    RegCloseKey(key);
    value.bytes.resize(size);
    return status == ERROR_SUCCESS ? std::optional(value) : std::nullopt;
  }

  // A REG_SZ value through the Unicode API, as other programs store and read it.
  void setWide(const std::wstring& name, const std::wstring& text) const {
    RegSetKeyValueW(HKEY_CURRENT_USER, path_.c_str(), name.c_str(), REG_SZ, text.c_str(),
                    static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  }
  std::wstring wide(const std::wstring& name) const {
    DWORD bytes = 0;
    RegGetValueW(HKEY_CURRENT_USER, path_.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &bytes);
    std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
    RegGetValueW(HKEY_CURRENT_USER, path_.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, text.data(), &bytes);
    return text.substr(0, text.find(L'\0'));
  }

private:
  static std::string ansi(const std::wstring& plain) { return std::string(plain.begin(), plain.end()); }
  std::wstring path_;
};

// The registry's steps that a case fails, through the fault layer: the key's
// opening and closing, the size query (the first query of a value), the
// value's fetch (the second), the store.
inline const faults::Site kOpen = "RegOpenKeyExA", kSizeQuery = "RegQueryValueExA@1",
                          kValueQuery = "RegQueryValueExA@2", kSet = "RegSetValueExA", kClose = "RegCloseKey";

// Tovix's calls of the registry from here on through the fault layer, the
// steps given failing, every message kept instead of shown.
struct RecordingRegistry {
  explicit RecordingRegistry(std::vector<faults::Site> failing = {}) { faults::reset(std::move(failing)); }
  // The messages, as the user reads them.
  Messages messages() const {
    Messages texts;
    for (const std::wstring& box : faults::layer().boxes) texts.push_back(box.substr(box.find(L'|') + 1));
    return texts;
  }
  int calls(const char* function) const { return faults::layer().calls[function]; }
};
