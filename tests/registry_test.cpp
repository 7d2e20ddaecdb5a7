// escribeREG against Wine's real registry: what is read back from what is
// stored, what is stored from what is written, the messages when a step fails
// (the key closed exactly when it was opened), and a value that another
// program rewrites between the reader's two looks.
#include "TestRegistry.h"
#include "escribeREG.h"

#include <gtest/gtest.h>

namespace {

const std::wstring kKey = L"Software\\Tovix tests\\registry";

std::string bytes(const char* text, size_t size) { return std::string(text, size); }

struct StoredValue {
  DWORD type;  // REG_NONE with no bytes: no value at all
  std::string stored;
  std::wstring read;
  Messages messages;
  std::vector<faults::Site> failing = {};
  int growths = 0;  // another program lengthens the value by a character before each fetch, this often
};

TEST(Reading, GivesTheTextOfWhatIsStoredUpToItsNulOrReportsWhatFailed) {
  const std::string laura = bytes("Laura\0", 6);
  const StoredValue values[] = {
      {REG_SZ, laura, L"Laura", {}},
      {REG_SZ, bytes("Zona 0", 6), L"Zona 0", {}},  // stored without a terminator, read whole
      {REG_SZ, bytes("\0", 1), L"", {}},
      {REG_SZ, "", L"", {}},
      {REG_SZ, bytes("ab\0cd\0", 6), L"ab", {}},
      {REG_EXPAND_SZ, bytes("%SystemRoot%\\x.ico\0", 19), L"%SystemRoot%\\x.ico", {}},  // unexpanded
      // Values that are not strings are not read as text.
      {REG_DWORD, bytes("ABCD", 4), L"", {kValue}},
      {REG_MULTI_SZ, bytes("a\0b\0\0", 5), L"", {kValue}},
      {REG_NONE, laura, L"", {kValue}},
      {REG_NONE, "", L"", {kLength, kValue}},  // missing
      // Failing steps, in the order of the steps; the procedure goes on as far as it can.
      {REG_SZ, laura, L"", {kOpening}, {kOpen, kSizeQuery, kClose}},
      {REG_SZ, laura, L"Laura", {kLength}, {kSizeQuery}},  // the fetch learns the size itself
      {REG_SZ, laura, L"", {kValue}, {kValueQuery}},
      {REG_SZ, laura, L"Laura", {kClosing}, {kClose}},
      {REG_SZ, laura, L"", {kLength, kValue, kClosing}, {kSizeQuery, kValueQuery, kClose}},
      // A value growing under the reader's feet is fetched again at its new size, but not for ever.
      {REG_SZ, laura, L"Laura+++", {}, {}, 3},
      {REG_SZ, laura, L"", {kValue}, {}, 1000},
  };
  for (const StoredValue& value : values) {
    ScratchKey key(kKey);
    if (value.type != REG_NONE || !value.stored.empty()) key.set(L"DisplayName", value.type, value.stored);
    RecordingRegistry registry(value.failing);
    std::string growing = value.stored.substr(0, value.stored.find('\0'));
    faults::layer().beforeCall = [&](const std::string& function, int call) {
      if (function == "RegQueryValueExA" && call > 1 && call - 1 <= value.growths)
        key.set(L"DisplayName", REG_SZ, (growing += '+') + '\0');
    };
    const std::wstring read = leeCadenaREG(HKEY_CURRENT_USER, key.path(), L"DisplayName");
    faults::layer().beforeCall = nullptr;
    EXPECT_EQ(read, value.read) << "type " << value.type << ", " << value.stored.size() << " bytes";
    EXPECT_EQ(registry.messages(), value.messages) << "type " << value.type << ", " << value.stored.size() << " bytes";
    EXPECT_EQ(faults::layer().keyAccess, std::vector<REGSAM>{KEY_QUERY_VALUE});
    EXPECT_EQ(registry.calls("RegCloseKey"), value.failing.empty() || value.failing[0] != kOpen ? 1 : 0);
  }
}

// Texts as the ANSI code page stores them. This test program carries no
// manifest, so it has the system's legacy code page, as on a Windows that
// ignores the UTF-8 entry: Western (1252) here, Japanese (932, double-byte:
// sizes are bytes, not characters) in the suite started under it, which sets
// TOVIX_CODE_PAGE. Characters the code page lacks become what the system makes
// of them: a best fit where it has one (an accented e becomes e), or "?".
struct Written {
  UINT codePage;  // 0: any
  std::wstring text;
  std::string stored;  // without the terminator
  std::wstring read;
};
const Written kWritten[] = {
    {0, L"C:\\icons\\zone.ico", "C:\\icons\\zone.ico", L"C:\\icons\\zone.ico"},
    {0, L"", "", L""},
    {1252, L"Espa\u00F1a", "Espa\xF1\x61", L"Espa\u00F1a"},
    {1252, L"Zona \u4E00", "Zona ?", L"Zona ?"},
    {932, L"\u30BE\u30FC\u30F3\u540D", "\x83\x5D\x81\x5B\x83\x93\x96\xBC", L"\u30BE\u30FC\u30F3\u540D"},
    {932, L"Caf\u00E9 \u20AC \u0416", "Cafe ? \x84\x47", L"Cafe ? \u0416"},
};

// Into a missing value or over one of another type, twice; stored without a
// terminator by another program, the text reads back whole all the same.
TEST(Writing, StoresTheTextInTheCodePageTerminatedEachTimeEvenTheSame) {
  const char* started = std::getenv("TOVIX_CODE_PAGE");
  const UINT codePage = started != nullptr ? static_cast<UINT>(std::atoi(started)) : 1252;
  ASSERT_EQ(GetACP(), codePage);
  for (const Written& written : kWritten) {
    if (written.codePage != 0 && written.codePage != codePage) continue;
    ScratchKey key(kKey);
    if (written.text.empty()) key.set(L"Icon", REG_DWORD, "1234");
    RecordingRegistry registry;
    escribeCadenaREG(HKEY_CURRENT_USER, key.path(), L"Icon", written.text);
    escribeCadenaREG(HKEY_CURRENT_USER, key.path(), L"Icon", written.text);
    EXPECT_EQ(registry.calls("RegSetValueExA"), 2);  // nothing is compared first
    EXPECT_EQ(key.get(L"Icon")->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(key.get(L"Icon")->bytes, written.stored + '\0');
    EXPECT_EQ(leeCadenaREG(HKEY_CURRENT_USER, key.path(), L"Icon"), written.read);
    key.set(L"Icon", REG_SZ, written.stored);
    EXPECT_EQ(leeCadenaREG(HKEY_CURRENT_USER, key.path(), L"Icon"), written.read);
    EXPECT_TRUE(registry.messages().empty());
    EXPECT_EQ(faults::layer().keyAccess[0], static_cast<REGSAM>(KEY_SET_VALUE | KEY_CREATE_SUB_KEY));
  }
}

// Each failing step shows its message, in the order of the steps; the key is
// closed exactly when it was opened.
TEST(Writing, ReportsEachFailingStep) {
  const std::tuple<std::vector<faults::Site>, Messages, bool> failures[] = {
      {{kOpen, kSet, kClose}, {kOpening}, false},
      {{kSet}, {kSaving}, false},
      {{kClose}, {kClosing}, true},
      {{kSet, kClose}, {kSaving, kClosing}, false},
  };
  for (const auto& [failing, messages, stored] : failures) {
    ScratchKey key(kKey);
    RecordingRegistry registry(failing);
    escribeCadenaREG(HKEY_CURRENT_USER, key.path(), L"Icon", L"zone.ico");
    EXPECT_EQ(registry.messages(), messages);
    EXPECT_EQ(key.get(L"Icon").has_value(), stored);
    EXPECT_EQ(registry.calls("RegCloseKey"), failing[0] == kOpen ? 0 : 1);
  }
}

}  // namespace
