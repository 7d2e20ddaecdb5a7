// Test helpers: scratch registry keys, captured messages and registry steps made to fail.
#include "TestRegistry.h"

#include <algorithm>
#include <chrono>

ScratchKey::ScratchKey(std::wstring path, bool create) : path_(std::move(path)) {
  remove();
  if (create) this->create();
}

ScratchKey::~ScratchKey() { remove(); }

bool ScratchKey::exists() const {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

void ScratchKey::create() const {
  HKEY key = nullptr;
  RegCreateKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
  RegCloseKey(key);
}

void ScratchKey::remove() const {
  RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());  // leaves the key itself
  RegDeleteKeyW(HKEY_CURRENT_USER, path_.c_str());
}

void ScratchKey::set(const std::wstring& name, DWORD type, const std::string& bytes) const {
  HKEY key = nullptr;
  RegOpenKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, KEY_SET_VALUE, &key);
  RegSetValueExA(key, std::string(name.begin(), name.end()).c_str(), 0, type,
                 reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()));
  RegCloseKey(key);
}

void ScratchKey::setText(const std::wstring& name, const std::string& ansi) const {
  set(name, REG_SZ, ansi + std::string(1, '\0'));
}

void ScratchKey::setWide(const std::wstring& name, const std::wstring& text) const {
  RegSetKeyValueW(HKEY_CURRENT_USER, path_.c_str(), name.c_str(), REG_SZ, text.c_str(),
                  static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

std::wstring ScratchKey::wide(const std::wstring& name) const {
  DWORD bytes = 0;
  RegGetValueW(HKEY_CURRENT_USER, path_.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &bytes);
  std::wstring text(bytes / sizeof(wchar_t), L'\0');
  RegGetValueW(HKEY_CURRENT_USER, path_.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, text.data(), &bytes);
  text.resize(text.find(L'\0'));
  return text;
}

std::optional<ScratchKey::Value> ScratchKey::get(const std::wstring& name) const {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return std::nullopt;
  const std::string ansiName(name.begin(), name.end());
  DWORD type = 0;
  DWORD size = 0;
  std::optional<Value> value;
  if (RegQueryValueExA(key, ansiName.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
    std::string bytes(size, '\0');
    RegQueryValueExA(key, ansiName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(bytes.data()), &size);
    bytes.resize(size);
    value = Value{type, bytes};
  }
  RegCloseKey(key);
  return value;
}

RecordingRegistry::RecordingRegistry(std::set<Step> failing) : failing_(std::move(failing)), scope_(make()) {}

RegistryPlatform RecordingRegistry::make() {
  const RegistryPlatform real = realRegistryPlatform();
  const auto fails = [this](Step step) { return failing_.contains(step); };
  return {
      [=, this](HKEY root, const char* path, REGSAM access, HKEY* key) {
        openAccess.push_back(access);
        if (fails(Step::Open)) return LONG{ERROR_ACCESS_DENIED};
        const LONG status = real.openKey(root, path, access, key);
        if (status == ERROR_SUCCESS) ++opened;
        return status;
      },
      [=](HKEY key, const char* name, DWORD* type, BYTE* data, DWORD* size) {
        if (fails(data == nullptr ? Step::SizeQuery : Step::ValueQuery)) return LONG{ERROR_ACCESS_DENIED};
        return real.queryValue(key, name, type, data, size);
      },
      [=, this](HKEY key, const char* name, DWORD type, const BYTE* data, DWORD size) {
        ++writes;
        if (fails(Step::Set)) return LONG{ERROR_ACCESS_DENIED};
        return real.setValue(key, name, type, data, size);
      },
      [=, this](HKEY key) {
        // The key is released either way, so that no handle leaks from the test.
        const LONG status = real.closeKey(key);
        ++closed;
        return fails(Step::Close) ? LONG{ERROR_INVALID_HANDLE} : status;
      },
      [this](const std::wstring& message) { messages.push_back(message); },
  };
}

ScriptedValue::ScriptedValue(DWORD type, std::vector<std::string> looks, bool overstatesSize)
    : type_(type), looks_(std::move(looks)), overstatesSize_(overstatesSize), scope_(make()) {}

RegistryPlatform ScriptedValue::make() {
  return {[](HKEY, const char*, REGSAM, HKEY* key) {
            *key = reinterpret_cast<HKEY>(0x1234);
            return LONG{ERROR_SUCCESS};
          },
          [this](HKEY, const char*, DWORD* type, BYTE* data, DWORD* size) {
            const std::string& bytes = looks_[look_];
            if (look_ + 1 < looks_.size()) ++look_;
            *type = type_;
            const auto needed = static_cast<DWORD>(bytes.size());
            if (data != nullptr && *size < needed) {
              *size = needed;
              return LONG{ERROR_MORE_DATA};
            }
            if (data != nullptr) std::copy(bytes.begin(), bytes.end(), data);
            *size = needed + (overstatesSize_ && data != nullptr ? 64 : 0);
            return LONG{ERROR_SUCCESS};
          },
          [](HKEY, const char*, DWORD, const BYTE*, DWORD) { return LONG{ERROR_SUCCESS}; },
          [](HKEY) { return LONG{ERROR_SUCCESS}; },
          [this](const std::wstring& message) { messages.push_back(message); }};
}

int rewriteValueUntilStopped() {
  HANDLE stop = OpenEventW(SYNCHRONIZE, FALSE, kStopRewriting);
  HKEY key = nullptr;
  if (stop == nullptr || RegOpenKeyExW(HKEY_CURRENT_USER, kRewrittenKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) {
    if (stop != nullptr) CloseHandle(stop);
    return 2;
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
  bool longOne = false;
  while (WaitForSingleObject(stop, 0) == WAIT_TIMEOUT && std::chrono::steady_clock::now() < deadline) {
    const std::string& text = longOne ? kLongText : kShortText;
    RegSetValueExA(key, "DisplayName", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
    longOne = !longOne;
  }
  RegCloseKey(key);
  CloseHandle(stop);
  return 0;
}
