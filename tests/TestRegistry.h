// Test helpers: scratch registry keys, and the real registry behind the seam
// with steps made to fail, messages kept instead of shown, keys counted.
#pragma once

#include "RegistryPlatform.h"

#include <functional>
#include <optional>
#include <set>
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
  explicit ScratchKey(std::wstring path, bool create = true);
  ~ScratchKey() { remove(); }
  ScratchKey(const ScratchKey&) = delete;
  ScratchKey& operator=(const ScratchKey&) = delete;

  const std::wstring& path() const { return path_; }
  bool exists() const;
  void create() const;
  void remove() const;
  // A value's bytes as the ANSI API stores and reads them; none if missing.
  void set(const std::wstring& name, DWORD type, const std::string& bytes) const;
  struct Value {
    DWORD type;
    std::string bytes;
  };
  std::optional<Value> get(const std::wstring& name) const;
  // A REG_SZ value through the Unicode API, as other programs store and read it.
  void setWide(const std::wstring& name, const std::wstring& text) const;
  std::wstring wide(const std::wstring& name) const;

private:
  std::wstring path_;
};

// Registry steps that can be made to fail.
enum class Step { Open, SizeQuery, ValueQuery, Set, Close };

// The real registry behind the seam, with the chosen steps failing, every
// message kept instead of shown, and every key's opening and closing counted.
class RecordingRegistry {
public:
  explicit RecordingRegistry(std::set<Step> failing = {});

  Messages messages;
  std::vector<REGSAM> openAccess;  // the access asked for at each open
  int opened = 0;
  int closed = 0;
  int writes = 0;
  // Runs before each fetch of a value's bytes: another program at work meanwhile.
  std::function<void()> beforeFetch;

private:
  std::set<Step> failing_;
  ScopedRegistryPlatform scope_;
  RegistryPlatform make();
};
