// escribeREG with registry steps made to fail: the messages, their order,
// what is returned, and that a key is closed exactly when it was opened.
#include "TestRegistry.h"
#include "escribeREG.h"

#include <gtest/gtest.h>

namespace {

const std::wstring kKey = L"Software\\Tovix tests\\failures";

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

// A string value that another program lengthens by a character at each look,
// for the given number of looks.
std::vector<std::string> growing(int looks) {
  std::vector<std::string> contents;
  for (int look = 0; look < looks; ++look) contents.push_back(std::string(static_cast<size_t>(5 + look), 'x') + '\0');
  return contents;
}

TEST(ReadingAGrowingValue, FetchesAgainWithTheNewSize) {
  ScriptedValue value(REG_SZ, growing(4));
  EXPECT_EQ(leeCadenaREG(HKEY_CURRENT_USER, L"any", L"DisplayName"), std::wstring(8, L'x'));
  EXPECT_TRUE(value.messages.empty());
}

TEST(ReadingAGrowingValue, GivesUpWithAMessageWhenItNeverSettles) {
  ScriptedValue value(REG_SZ, growing(1000));
  EXPECT_EQ(leeCadenaREG(HKEY_CURRENT_USER, L"any", L"DisplayName"), L"");
  EXPECT_EQ(value.messages, Messages{kValue});
}

}  // namespace
