// Texts under the legacy ANSI code pages, as on a Windows that ignores the
// manifest's UTF-8 entry (this test program carries no manifest): Western
// (1252) in the registry suite, Japanese (932, double-byte: sizes are bytes,
// not characters) in the suite started under it, which sets TOVIX_CODE_PAGE.
#include "TestRegistry.h"
#include "escribeREG.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

struct InCodePage {
  UINT codePage;
  std::wstring written;
  std::string stored;  // without the terminator
  std::wstring read;
};

// A best fit where the code page has one (an accented e becomes e), its default character elsewhere.
const InCodePage kCases[] = {
    {1252, L"Espa\u00F1a",
     "Espa\xF1"
     "a",
     L"Espa\u00F1a"},
    {1252, L"Zona \u4E00", "Zona ?", L"Zona ?"},
    {932, L"\u30BE\u30FC\u30F3\u540D", "\x83\x5D\x81\x5B\x83\x93\x96\xBC", L"\u30BE\u30FC\u30F3\u540D"},
    {932, L"Caf\u00E9 \u20AC \u0416", "Cafe ? \x84\x47", L"Cafe ? \u0416"},
};

TEST(LegacyCodePage, TextsAreStoredInItAndReadBackTerminatedOrNot) {
  const char* started = std::getenv("TOVIX_CODE_PAGE");
  const UINT codePage = started != nullptr ? static_cast<UINT>(std::atoi(started)) : 1252;
  ASSERT_EQ(GetACP(), codePage);
  ScratchKey key(L"Software\\Tovix tests\\code page");
  RecordingRegistry registry;
  for (const InCodePage& text : kCases) {
    if (text.codePage != codePage) continue;
    escribeCadenaREG(HKEY_CURRENT_USER, key.path(), L"DisplayName", text.written);
    EXPECT_EQ(key.get(L"DisplayName")->bytes, text.stored + '\0');
    EXPECT_EQ(leeCadenaREG(HKEY_CURRENT_USER, key.path(), L"DisplayName"), text.read);
    key.set(L"DisplayName", REG_SZ, text.stored);
    EXPECT_EQ(leeCadenaREG(HKEY_CURRENT_USER, key.path(), L"DisplayName"), text.read);
  }
  EXPECT_TRUE(registry.messages.empty());
}

}  // namespace
