// The reader over many random values through the seam: random types, sizes
// and bytes, values that change size between the two queries, and a registry
// that reports more bytes than it copied. Whatever it meets, the reader
// returns a string's text up to its first NUL, or the empty text with a message.
#include "TestRegistry.h"
#include "escribeREG.h"

#include <gtest/gtest.h>

#include <random>

namespace {

struct RandomValue {
  DWORD type = REG_SZ;
  std::string bytes;
  std::string bytesAtFetch;  // what another program left by the time of the fetch
  bool overstatesSize = false;
};

const DWORD kTypes[] = {REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ, REG_DWORD, REG_QWORD, REG_BINARY, REG_NONE};

std::string randomBytes(std::mt19937& random) {
  std::uniform_int_distribution<int> length(0, 300);
  std::uniform_int_distribution<int> byte(0, 255);
  std::string bytes(static_cast<size_t>(length(random)), '\0');
  for (char& b : bytes) b = static_cast<char>(random() % 4 == 0 ? 0 : byte(random));
  return bytes;
}

RandomValue randomValue(std::mt19937& random) {
  RandomValue value;
  value.type = kTypes[random() % std::size(kTypes)];
  value.bytes = randomBytes(random);
  value.bytesAtFetch = random() % 3 == 0 ? randomBytes(random) : value.bytes;
  value.overstatesSize = random() % 10 == 0;
  return value;
}

std::wstring expectedText(const std::string& bytes) {
  const std::string text = bytes.substr(0, bytes.find('\0'));
  std::wstring wide(text.size() * 2 + 1, L'\0');
  wide.resize(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                                      wide.data(), static_cast<int>(wide.size()))));
  return wide;
}

TEST(ReadingRandomValues, GivesTheStringUpToItsNulOrNothingWithAMessage) {
  const auto start = static_cast<unsigned>(std::random_device{}());
  std::mt19937 random(start);
  for (int run = 0; run < 3000; ++run) {
    const RandomValue value = randomValue(random);
    ScriptedValue registry(value.type, {value.bytes, value.bytesAtFetch}, value.overstatesSize);

    const std::wstring read = leeCadenaREG(HKEY_CURRENT_USER, L"any", L"DisplayName");

    const bool isString = value.type == REG_SZ || value.type == REG_EXPAND_SZ;
    const std::wstring expected = isString ? expectedText(value.bytesAtFetch) : L"";
    const Messages expectedMessages = isString ? Messages{} : Messages{kValue};
    ASSERT_EQ(read, expected) << "run " << run << " of the sequence starting at " << start;
    ASSERT_EQ(read.find(L'\0'), std::wstring::npos) << "run " << run << " starting at " << start;
    ASSERT_EQ(registry.messages, expectedMessages) << "run " << run << " of the sequence starting at " << start;
  }
}

}  // namespace
