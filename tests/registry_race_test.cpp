// The reader while another process rewrites the value, alternately short and
// long: every read gives one of the written texts whole, or the empty text
// with its message; never a mix.
#include "TestRegistry.h"
#include "escribeREG.h"

#include <gtest/gtest.h>

namespace {

TEST(ReadingWhileAnotherProgramRewrites, GivesOneWrittenTextWholeEveryTime) {
  ScratchKey key(kRewrittenKey);
  key.setText(L"DisplayName", kShortText);
  HANDLE stop = CreateEventW(nullptr, TRUE, FALSE, kStopRewriting);
  ASSERT_NE(stop, nullptr);

  wchar_t program[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, program, MAX_PATH);
  std::wstring commandLine = L"\"" + std::wstring(program) + L"\" " + kRewriteSwitch;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION rewriter{};
  ASSERT_TRUE(
      CreateProcessW(program, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &rewriter));

  const std::wstring shortText(kShortText.begin(), kShortText.end());
  const std::wstring longText(kLongText.begin(), kLongText.end());
  int shortReads = 0, longReads = 0, emptyReads = 0;
  Messages expectedMessages;
  {
    RecordingRegistry registry;
    for (int read = 0; read < 3000; ++read) {
      const std::wstring text = leeCadenaREG(HKEY_CURRENT_USER, kRewrittenKey, L"DisplayName");
      if (text == shortText) {
        ++shortReads;
      } else if (text == longText) {
        ++longReads;
      } else if (text.empty()) {
        ++emptyReads;
        expectedMessages.push_back(kValue);
      } else {
        ADD_FAILURE() << "read " << read << " gave " << text.size() << " characters, neither text whole";
      }
    }
    EXPECT_EQ(registry.messages, expectedMessages);
    EXPECT_EQ(registry.opened, registry.closed);
  }
  SetEvent(stop);
  EXPECT_EQ(WaitForSingleObject(rewriter.hProcess, 20000), WAIT_OBJECT_0);
  DWORD exitCode = 1;
  GetExitCodeProcess(rewriter.hProcess, &exitCode);
  EXPECT_EQ(exitCode, 0u);
  CloseHandle(rewriter.hThread);
  CloseHandle(rewriter.hProcess);
  CloseHandle(stop);

  // Both texts were met: the other program really was rewriting meanwhile.
  EXPECT_GT(shortReads, 0);
  EXPECT_GT(longReads, 0);
  std::printf("short %d, long %d, empty %d\n", shortReads, longReads, emptyReads);
}

}  // namespace
