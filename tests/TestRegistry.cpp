// Test helpers: scratch registry keys, and the registry seam made to fail or change.
#include "TestRegistry.h"

ScratchKey::ScratchKey(std::wstring path, bool create) : path_(std::move(path)) {
  remove();
  if (create) this->create();
}

bool ScratchKey::exists() const {
  HKEY key = nullptr;
  const bool opened = RegOpenKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS;
  if (opened) RegCloseKey(key);
  return opened;
}

void ScratchKey::create() const {
  HKEY key = nullptr;
  RegCreateKeyW(HKEY_CURRENT_USER, path_.c_str(), &key);
  RegCloseKey(key);
}

void ScratchKey::remove() const {
  RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());  // leaves the key itself
  RegDeleteKeyW(HKEY_CURRENT_USER, path_.c_str());
}

void ScratchKey::set(const std::wstring& name, DWORD type, const std::string& bytes) const {
  RegSetKeyValueA(HKEY_CURRENT_USER, std::string(path_.begin(), path_.end()).c_str(),
                  std::string(name.begin(), name.end()).c_str(), type, bytes.data(), static_cast<DWORD>(bytes.size()));
}

void ScratchKey::setWide(const std::wstring& name, const std::wstring& text) const {
  RegSetKeyValueW(HKEY_CURRENT_USER, path_.c_str(), name.c_str(), REG_SZ, text.c_str(),
                  static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

std::wstring ScratchKey::wide(const std::wstring& name) const {
  DWORD bytes = 0;
  RegGetValueW(HKEY_CURRENT_USER, path_.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &bytes);
  std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
  RegGetValueW(HKEY_CURRENT_USER, path_.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, text.data(), &bytes);
  return text.substr(0, text.find(L'\0'));
}

std::optional<ScratchKey::Value> ScratchKey::get(const std::wstring& name) const {
  HKEY key = nullptr;
  RegOpenKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, KEY_QUERY_VALUE, &key);
  Value value{REG_NONE, std::string(1 << 21, '\0')};  // room for the largest value the tests store
  auto size = static_cast<DWORD>(value.bytes.size());
  const LONG status = RegQueryValueExA(key, std::string(name.begin(), name.end()).c_str(), nullptr, &value.type,
                                       reinterpret_cast<BYTE*>(value.bytes.data()), &size);
  RegCloseKey(key);
  value.bytes.resize(size);
  return status == ERROR_SUCCESS ? std::optional(value) : std::nullopt;
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
      [=, this](HKEY key, const char* name, DWORD* type, BYTE* data, DWORD* size) {
        if (data != nullptr && beforeFetch) beforeFetch();
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
