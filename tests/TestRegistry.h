// Test helpers: scratch registry keys, captured messages and registry steps made to fail.
#pragma once

#include "RegistryPlatform.h"

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
  ~ScratchKey();
  ScratchKey(const ScratchKey&) = delete;
  ScratchKey& operator=(const ScratchKey&) = delete;

  const std::wstring& path() const { return path_; }
  bool exists() const;
  void create() const;
  void remove() const;
  void set(const std::wstring& name, DWORD type, const std::string& bytes) const;
  void setText(const std::wstring& name, const std::string& ansi) const;  // REG_SZ with its NUL
  // A REG_SZ value through the Unicode API, as other programs store and read it.
  void setWide(const std::wstring& name, const std::wstring& text) const;
  std::wstring wide(const std::wstring& name) const;

  struct Value {
    DWORD type;
    std::string bytes;
  };
  std::optional<Value> get(const std::wstring& name) const;

private:
  std::wstring path_;
};

// Registry steps that can be made to fail.
enum class Step { Open, SizeQuery, ValueQuery, Set, Close };

// The real registry behind the seam, with the chosen steps failing, every
// message captured instead of shown, and every key's opening and closing counted.
class RecordingRegistry {
public:
  explicit RecordingRegistry(std::set<Step> failing = {});

  std::vector<std::wstring> messages;
  std::vector<REGSAM> openAccess;  // the access asked for at each open
  int opened = 0;
  int closed = 0;
  int writes = 0;

private:
  std::set<Step> failing_;
  ScopedRegistryPlatform scope_;
  RegistryPlatform make();
};

// A registry, put in place for as long as the object lives, holding one value
// that another program rewrites between looks: each query sees the next of the
// given contents, and the last from then on. It may also overstate the size of
// what it copied, as no real registry should. Failure messages are kept.
class ScriptedValue {
public:
  ScriptedValue(DWORD type, std::vector<std::string> looks, bool overstatesSize = false);
  Messages messages;

private:
  DWORD type_;
  std::vector<std::string> looks_;
  bool overstatesSize_;
  size_t look_ = 0;
  ScopedRegistryPlatform scope_;
  RegistryPlatform make();
};

// Another program that rewrites a value while the reader reads it: the test
// program started again with kRewriteSwitch. It writes kRewrittenName under
// the key alternately as kShortText and kLongText, as fast as it can, until
// the named event kStopRewriting is set or a minute has passed.
inline constexpr wchar_t kRewriteSwitch[] = L"--rewrite-value";
inline constexpr wchar_t kStopRewriting[] = L"Local\\TovixStopRewriting";
inline constexpr wchar_t kRewrittenKey[] = L"Software\\Tovix tests\\rewritten";
inline const std::string kShortText = "short";
inline const std::string kLongText = std::string(4000, 'L');
int rewriteValueUntilStopped();
