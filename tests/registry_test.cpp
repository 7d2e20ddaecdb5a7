// escribeREG against Wine's real registry: what is read back from what is
// stored, what is stored from what is written, and the messages on the way.
#include "TestRegistry.h"
#include "escribeREG.h"

#include <gtest/gtest.h>

namespace {

const std::wstring kKey = L"Software\\Tovix tests\\registry";

std::string bytes(const char* text, size_t size) { return std::string(text, size); }

struct StoredValue {
  const char* what;
  DWORD type;
  std::string stored;
  std::wstring read;
  Messages messages;
};

class Reading : public testing::TestWithParam<StoredValue> {};

TEST_P(Reading, GivesTheTextOfWhatIsStored) {
  const StoredValue& value = GetParam();
  ScratchKey key(kKey);
  key.set(L"DisplayName", value.type, value.stored);
  RecordingRegistry registry;

  const std::wstring read = leeCadenaREG(HKEY_CURRENT_USER, key.path(), L"DisplayName");
  EXPECT_EQ(read, value.read);
  EXPECT_EQ(read.find(L'\0'), std::wstring::npos);
  EXPECT_EQ(registry.messages, value.messages);
  EXPECT_EQ(registry.openAccess, std::vector<REGSAM>{KEY_QUERY_VALUE});
  EXPECT_EQ(registry.closed, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Values, Reading,
    testing::Values(
        StoredValue{"terminated", REG_SZ, bytes("Laura\0", 6), L"Laura", {}},
        StoredValue{"six characters and a NUL", REG_SZ, bytes("Zona 0\0", 7), L"Zona 0", {}},
        // Stored without a terminator, the text is read whole.
        StoredValue{"unterminated", REG_SZ, bytes("Zona 0", 6), L"Zona 0", {}},
        StoredValue{"empty", REG_SZ, bytes("\0", 1), L"", {}}, StoredValue{"zero bytes", REG_SZ, "", L"", {}},
        StoredValue{"one byte", REG_SZ, "x", L"x", {}},
        StoredValue{"embedded NUL", REG_SZ, bytes("ab\0cd\0", 6), L"ab", {}},
        // An expandable string is read as its text, unexpanded.
        StoredValue{"expandable", REG_EXPAND_SZ, bytes("%SystemRoot%\\x.ico\0", 19), L"%SystemRoot%\\x.ico", {}},
        // Values that are not strings are not read as text.
        StoredValue{"one megabyte", REG_SZ, std::string(1 << 20, 'z') + '\0', std::wstring(1 << 20, L'z'), {}},
        StoredValue{"number", REG_DWORD, bytes("\x41\x42\x43\x44", 4), L"", {kValue}},
        StoredValue{"large number", REG_QWORD, bytes("ABCDEFGH", 8), L"", {kValue}},
        StoredValue{"typeless", REG_NONE, bytes("Laura\0", 6), L"", {kValue}},
        StoredValue{"binary", REG_BINARY, bytes("ABC\0", 4), L"", {kValue}},
        StoredValue{"multi-string", REG_MULTI_SZ, bytes("a\0b\0\0", 5), L"", {kValue}}),
    [](const auto& info) {
      std::string name;
      for (char c : std::string(info.param.what)) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
      return name;
    });

TEST(ReadingFails, UnderAMissingKeyWithOneMessage) {
  ScratchKey key(kKey, false);
  RecordingRegistry registry;
  EXPECT_EQ(leeCadenaREG(HKEY_CURRENT_USER, key.path(), L"DisplayName"), L"");
  EXPECT_EQ(registry.messages, Messages{kOpening});
  EXPECT_EQ(registry.closed, 0);
  EXPECT_FALSE(key.exists());
}

TEST(ReadingFails, ForAMissingValueButStillClosesTheKey) {
  ScratchKey key(kKey);
  RecordingRegistry registry;
  EXPECT_EQ(leeCadenaREG(HKEY_CURRENT_USER, key.path(), L"Icon"), L"");
  EXPECT_EQ(registry.messages, (Messages{kLength, kValue}));
  EXPECT_EQ(registry.closed, 1);
}

TEST(Writing, StoresATerminatedAnsiString) {
  ScratchKey key(kKey);
  RecordingRegistry registry;
  escribeCadenaREG(HKEY_CURRENT_USER, key.path(), L"DisplayName", L"Zona 0");
  const auto stored = key.get(L"DisplayName");
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(stored->bytes, bytes("Zona 0\0", 7));
  EXPECT_TRUE(registry.messages.empty());
  EXPECT_EQ(registry.openAccess, std::vector<REGSAM>{KEY_SET_VALUE | KEY_CREATE_SUB_KEY});
  EXPECT_EQ(registry.closed, 1);
}

TEST(Writing, TheEmptyTextStoresOneByteThatReadsBackEmpty) {
  ScratchKey key(kKey);
  key.setText(L"Icon", "explorer.exe#0100");
  RecordingRegistry registry;
  escribeCadenaREG(HKEY_CURRENT_USER, key.path(), L"Icon", L"");
  EXPECT_EQ(key.get(L"Icon")->bytes, bytes("\0", 1));
  EXPECT_EQ(leeCadenaREG(HKEY_CURRENT_USER, key.path(), L"Icon"), L"");
  EXPECT_TRUE(registry.messages.empty());
}

TEST(Writing, CreatesAMissingValueAndRewritesAnExistingOne) {
  ScratchKey key(kKey);
  RecordingRegistry registry;
  escribeCadenaREG(HKEY_CURRENT_USER, key.path(), L"Icon", L"C:\\icons\\zone.ico");
  escribeCadenaREG(HKEY_CURRENT_USER, key.path(), L"Icon", L"C:\\icons\\zone.ico");
  EXPECT_EQ(registry.writes, 2);  // nothing is compared first
  EXPECT_EQ(leeCadenaREG(HKEY_CURRENT_USER, key.path(), L"Icon"), L"C:\\icons\\zone.ico");
  EXPECT_TRUE(registry.messages.empty());
}

TEST(Writing, ToAMissingKeyShowsOneMessageAndCreatesNothing) {
  ScratchKey key(kKey, false);
  RecordingRegistry registry;
  escribeCadenaREG(HKEY_CURRENT_USER, key.path(), L"DisplayName", L"Laura");
  EXPECT_EQ(registry.messages, Messages{kOpening});
  EXPECT_EQ(registry.writes, 0);
  EXPECT_EQ(registry.closed, 0);
  EXPECT_FALSE(key.exists());
}

}  // namespace
