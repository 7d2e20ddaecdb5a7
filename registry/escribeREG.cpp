// escribeREG: reads and writes one string value under a registry key.
#include "escribeREG.h"

#include "AnsiText.h"

#include <algorithm>
#include <optional>

namespace {

constexpr REGSAM kReadAccess = KEY_QUERY_VALUE;                      // 0x0001
constexpr REGSAM kWriteAccess = KEY_SET_VALUE | KEY_CREATE_SUB_KEY;  // 0x0006

// How often the value is fetched when it keeps growing under our feet.
constexpr int kFetchAttempts = 4;

// An OK-only box with no icon. Win32 captions a box without a title "Error",
// so the application's title is given. The box is owned by the thread's
// active window, so that window takes no input while the box is up.
void report(const wchar_t* message) { MessageBoxW(GetActiveWindow(), message, L"Tovix", MB_OK); }

// Owns one opened key for the length of one procedure call. The procedures
// close it themselves, so that a failed close is reported in its place; the
// destructor only closes a key left open when an exception cuts a call short.
class OpenKey {
public:
  OpenKey() = default;
  ~OpenKey() {
    if (key_ != nullptr) RegCloseKey(key_);
  }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;

  // A path the system would not convert cannot be opened.
  bool open(HKEY root, const std::optional<std::string>& path, REGSAM access) {
    HKEY key = nullptr;
    if (!path || RegOpenKeyExA(root, path->c_str(), 0, access, &key) != ERROR_SUCCESS) return false;
    key_ = key;
    return true;
  }

  bool close() {
    const HKEY key = key_;
    key_ = nullptr;
    return RegCloseKey(key) == ERROR_SUCCESS;
  }

  HKEY get() const { return key_; }

private:
  HKEY key_ = nullptr;
};

bool isString(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

// Fetches the value's bytes, starting from the size that the size query gave.
// Another program may rewrite the value in between: when it has grown, the
// registry answers "more data" with the new size, and the fetch is tried again.
// Values that are not strings are refused rather than read as text.
std::optional<std::string> fetchString(HKEY key, const std::string& name, DWORD size) {
  for (int attempt = 0; attempt < kFetchAttempts; ++attempt) {
    // Never a null buffer, even for an empty value: a null one would turn the
    // fetch into one more size query. It starts as NULs, so that bytes the
    // registry counts but does not fill can only end the text.
    std::string buffer(std::max<DWORD>(size, 1), '\0');
    DWORD type = REG_NONE;
    const LONG status =
        RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size);
    if (status == ERROR_MORE_DATA) continue;
    if (status != ERROR_SUCCESS || !isString(type)) return std::nullopt;
    buffer.resize(std::min<size_t>(size, buffer.size()));
    return buffer;
  }
  return std::nullopt;
}

// The text of a string value: up to its terminating NUL, or all of it when it
// was stored without one. None where the system would not convert it.
std::optional<std::wstring> textOf(const std::string& bytes) { return fromAnsi(bytes.substr(0, bytes.find('\0'))); }

}  // namespace

// A text the system would not convert to or from the code page fails the
// step that needed it, with that step's message: the five messages stay the
// only ones, and no text stands for one that could not be had.
std::wstring leeCadenaREG(HKEY root, std::wstring keyPath, std::wstring valueName) {
  const std::optional<std::string> name = toAnsi(valueName);
  OpenKey key;
  if (!key.open(root, toAnsi(keyPath), kReadAccess)) {
    report(L"Error opening key.");
    return {};
  }

  DWORD size = 0;
  if (!name || RegQueryValueExA(key.get(), name->c_str(), nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS) {
    report(L"Error getting subkey length.");
  }

  std::optional<std::wstring> result;
  if (const auto bytes = name ? fetchString(key.get(), *name, size) : std::nullopt) result = textOf(*bytes);
  if (!result) report(L"Error getting subkey value.");

  if (!key.close()) report(L"Error closing key.");
  return result.value_or(std::wstring());
}

void escribeCadenaREG(HKEY root, std::wstring keyPath, std::wstring valueName, std::wstring text) {
  OpenKey key;
  if (!key.open(root, toAnsi(keyPath), kWriteAccess)) {
    report(L"Error opening key.");
    return;
  }

  // Stored with its terminating NUL, as a REG_SZ value should be.
  const std::optional<std::string> name = toAnsi(valueName);
  std::optional<std::string> data = toAnsi(text);
  bool saved = false;
  if (name && data) {
    data->push_back('\0');
    saved = RegSetValueExA(key.get(), name->c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data->data()),
                           static_cast<DWORD>(data->size())) == ERROR_SUCCESS;
  }
  if (!saved) report(L"Error saving value.");

  if (!key.close()) report(L"Error closing key.");
}
