// Texts under a double-byte ANSI code page: sizes are bytes, not characters.
// These run in the suite started under code page 932 (Japanese), which sets
// TOVIX_CODE_PAGE; elsewhere they are skipped.
#include "TestRegistry.h"
#include "escribeREG.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

const std::wstring kKey = L"Software\\Tovix tests\\code page";
// "Zone name" in Japanese, and its Shift-JIS bytes.
const std::wstring kJapaneseName = L"\u30BE\u30FC\u30F3\u540D";
const std::string kShiftJis = "\x83\x5D\x81\x5B\x83\x93\x96\xBC";

class DoubleByteCodePage : public testing::Test {
protected:
  void SetUp() override {
    const char* wanted = std::getenv("TOVIX_CODE_PAGE");
    if (wanted == nullptr) GTEST_SKIP() << "runs in the suite started under code page 932";
    ASSERT_EQ(GetACP(), static_cast<UINT>(std::atoi(wanted)));
  }
  ScratchKey key{kKey};
  RecordingRegistry registry;
};

TEST_F(DoubleByteCodePage, AJapaneseNameIsWrittenAndReadBackByteForByte) {
  escribeCadenaREG(HKEY_CURRENT_USER, key.path(), L"DisplayName", kJapaneseName);
  EXPECT_EQ(key.get(L"DisplayName")->bytes, kShiftJis + '\0');
  EXPECT_EQ(leeCadenaREG(HKEY_CURRENT_USER, key.path(), L"DisplayName"), kJapaneseName);
  EXPECT_TRUE(registry.messages.empty());
}

TEST_F(DoubleByteCodePage, AnUnterminatedJapaneseNameReadsWhole) {
  key.set(L"DisplayName", REG_SZ, kShiftJis);
  EXPECT_EQ(leeCadenaREG(HKEY_CURRENT_USER, key.path(), L"DisplayName"), kJapaneseName);
}

TEST_F(DoubleByteCodePage, CharactersTheCodePageLacksAreWrittenAsTheSystemConvertsThem) {
  escribeCadenaREG(HKEY_CURRENT_USER, key.path(), L"DisplayName", L"Caf\u00E9 \u20AC \u0416");
  // A best fit where the code page has one (an accented e becomes e), its default character elsewhere.
  EXPECT_EQ(key.get(L"DisplayName")->bytes, std::string("Cafe ? \x84\x47") + std::string(1, 0));
}

}  // namespace
