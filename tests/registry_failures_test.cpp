// escribeREG with registry steps made to fail: the messages, their order,
// what is returned, and that a key is closed exactly when it was opened.
#include "TestRegistry.h"
#include "escribeREG.h"

#include <gtest/gtest.h>

namespace {

const std::wstring kKey = L"Software\\Tovix tests\\failures";
using Messages = std::vector<std::wstring>;

const std::wstring kOpening = L"Error opening key.";
const std::wstring kLength = L"Error getting subkey length.";
const std::wstring kValue = L"Error getting subkey value.";
const std::wstring kSaving = L"Error saving value.";
const std::wstring kClosing = L"Error closing key.";

struct ReadFailure {
  const char* what;
  std::set<Step> failing;
  std::wstring read;
  Messages messages;
  int closed;
};

class ReadingWithAFailure : public testing::TestWithParam<ReadFailure> {};

TEST_P(ReadingWithAFailure, ReportsEachFailingStepInOrder) {
  const ReadFailure& failure = GetParam();
  ScratchKey key(kKey);
  key.setText(L"DisplayName", "Laura");
  RecordingRegistry registry(failure.failing);

  EXPECT_EQ(leeCadenaREG(HKEY_CURRENT_USER, key.path(), L"DisplayName"), failure.read);
  EXPECT_EQ(registry.messages, failure.messages);
  EXPECT_EQ(registry.opened, failure.closed);
  EXPECT_EQ(registry.closed, failure.closed);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, ReadingWithAFailure,
    testing::Values(ReadFailure{"open", {Step::Open}, L"", {kOpening}, 0},
                    // With no size the fetch learns the size from the registry, and still reads.
                    ReadFailure{"size", {Step::SizeQuery}, L"Laura", {kLength}, 1},
                    ReadFailure{"value", {Step::ValueQuery}, L"", {kValue}, 1},
                    ReadFailure{"close", {Step::Close}, L"Laura", {kClosing}, 1},
                    ReadFailure{"open_and_size", {Step::Open, Step::SizeQuery}, L"", {kOpening}, 0},
                    ReadFailure{"open_and_value", {Step::Open, Step::ValueQuery}, L"", {kOpening}, 0},
                    ReadFailure{"open_and_close", {Step::Open, Step::Close}, L"", {kOpening}, 0},
                    ReadFailure{"size_and_value", {Step::SizeQuery, Step::ValueQuery}, L"", {kLength, kValue}, 1},
                    ReadFailure{"size_and_close", {Step::SizeQuery, Step::Close}, L"Laura", {kLength, kClosing}, 1},
                    ReadFailure{"value_and_close", {Step::ValueQuery, Step::Close}, L"", {kValue, kClosing}, 1},
                    ReadFailure{"every_query_and_close",
                                {Step::SizeQuery, Step::ValueQuery, Step::Close},
                                L"",
                                {kLength, kValue, kClosing},
                                1},
                    ReadFailure{
                        "open_and_everything_after", {Step::Open, Step::SizeQuery, Step::Close}, L"", {kOpening}, 0}),
    [](const auto& info) { return std::string(info.param.what); });

struct WriteFailure {
  const char* what;
  std::set<Step> failing;
  Messages messages;
  bool stored;
  int closed;
};

class WritingWithAFailure : public testing::TestWithParam<WriteFailure> {};

TEST_P(WritingWithAFailure, ReportsEachFailingStepInOrder) {
  const WriteFailure& failure = GetParam();
  ScratchKey key(kKey);
  RecordingRegistry registry(failure.failing);

  escribeCadenaREG(HKEY_CURRENT_USER, key.path(), L"Icon", L"zone.ico");
  EXPECT_EQ(registry.messages, failure.messages);
  EXPECT_EQ(key.get(L"Icon").has_value(), failure.stored);
  EXPECT_EQ(registry.opened, failure.closed);
  EXPECT_EQ(registry.closed, failure.closed);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, WritingWithAFailure,
    testing::Values(WriteFailure{"open", {Step::Open}, {kOpening}, false, 0},
                    WriteFailure{"set", {Step::Set}, {kSaving}, false, 1},
                    WriteFailure{"close", {Step::Close}, {kClosing}, true, 1},
                    WriteFailure{"set_and_close", {Step::Set, Step::Close}, {kSaving, kClosing}, false, 1},
                    WriteFailure{"open_and_set", {Step::Open, Step::Set}, {kOpening}, false, 0},
                    WriteFailure{"open_and_close", {Step::Open, Step::Close}, {kOpening}, false, 0},
                    WriteFailure{
                        "open_and_everything_after", {Step::Open, Step::Set, Step::Close}, {kOpening}, false, 0}),
    [](const auto& info) { return std::string(info.param.what); });

// A registry whose value another program rewrites between the reader's size
// query and its fetch: the value is a little longer at every look.
class GrowingValue {
public:
  explicit GrowingValue(int growths) : growths_(growths) {}
  std::vector<std::wstring> messages;

  RegistryPlatform platform() {
    return {[](HKEY, const char*, REGSAM, HKEY* key) {
              *key = reinterpret_cast<HKEY>(0x1234);
              return LONG{ERROR_SUCCESS};
            },
            [this](HKEY, const char*, DWORD* type, BYTE* data, DWORD* size) {
              *type = REG_SZ;
              const std::string value = std::string(static_cast<size_t>(5 + looks_), 'x') + '\0';
              if (looks_ < growths_) ++looks_;
              const DWORD needed = static_cast<DWORD>(value.size());
              if (data != nullptr && *size >= needed) std::copy(value.begin(), value.end(), data);
              const bool fits = data == nullptr || *size >= needed;
              *size = needed;
              return fits ? LONG{ERROR_SUCCESS} : LONG{ERROR_MORE_DATA};
            },
            [](HKEY, const char*, DWORD, const BYTE*, DWORD) { return LONG{ERROR_SUCCESS}; },
            [](HKEY) { return LONG{ERROR_SUCCESS}; },
            [this](const std::wstring& message) { messages.push_back(message); }};
  }

private:
  int growths_;
  int looks_ = 0;
};

TEST(ReadingAGrowingValue, FetchesAgainWithTheNewSize) {
  GrowingValue value(3);
  ScopedRegistryPlatform scope(value.platform());
  EXPECT_EQ(leeCadenaREG(HKEY_CURRENT_USER, L"any", L"DisplayName"), std::wstring(8, L'x'));
  EXPECT_TRUE(value.messages.empty());
}

TEST(ReadingAGrowingValue, GivesUpWithAMessageWhenItNeverSettles) {
  GrowingValue value(1000);
  ScopedRegistryPlatform scope(value.platform());
  EXPECT_EQ(leeCadenaREG(HKEY_CURRENT_USER, L"any", L"DisplayName"), L"");
  EXPECT_EQ(value.messages, Messages{kValue});
}

}  // namespace
