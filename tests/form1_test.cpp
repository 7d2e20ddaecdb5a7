// Form1 in-process under Wine: start-up reads the zone's name and icon into
// the boxes, "Find..." fills the icon box, "Apply changes..." writes both back.
#include "Form1.h"
#include "TestRegistry.h"
#include "WindowTesting.h"

#include <gtest/gtest.h>

namespace {

const std::wstring kZoneKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Lockdown_Zones\\0";
using Messages = std::vector<std::wstring>;
const std::wstring kOpening = L"Error opening key.";

class Form1Test : public testing::Test {
protected:
  HWND control(Form1Control which) const { return GetDlgItem(form.hwnd(), controlId(which)); }
  std::wstring text(Form1Control which) const { return windowText(control(which)); }
  void type(Form1Control box, const std::wstring& text) {
    SendMessageW(control(box), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  void click(Form1Control button) {
    SendMessageW(control(button), BM_CLICK, 0, 0);
    pumpMessages();
  }
  void start() {
    form.Load();
    form.Show();
    pumpMessages();
  }

  ScratchKey zone{kZoneKey, false};
  // No test shows a real message box: the ones that look at the messages
  // put a registry of their own in front of this one.
  RecordingRegistry quietRegistry;
  Form1 form;
};

TEST_F(Form1Test, StartUpFillsTheBoxesWithTheStoredValues) {
  zone.create();
  zone.setText(L"DisplayName", "Laura");
  zone.setText(L"Icon", "explorer.exe#0100");
  RecordingRegistry registry;
  start();
  EXPECT_EQ(text(Form1Control::Text1), L"Laura");
  EXPECT_EQ(text(Form1Control::Text2), L"explorer.exe#0100");
  EXPECT_TRUE(registry.messages.empty());
  EXPECT_EQ(GetFocus(), control(Form1Control::Text1));
}

TEST_F(Form1Test, StartUpWithAMissingValueReportsItAndLeavesItsBoxEmpty) {
  zone.create();
  zone.setText(L"DisplayName", "Laura");
  RecordingRegistry registry;
  start();
  EXPECT_EQ(text(Form1Control::Text1), L"Laura");
  EXPECT_EQ(text(Form1Control::Text2), L"");
  EXPECT_EQ(registry.messages, (Messages{L"Error getting subkey length.", L"Error getting subkey value."}));
}

TEST_F(Form1Test, WithoutTheZoneKeyStartUpAndApplyEachReportTwiceAndCreateNothing) {
  RecordingRegistry registry;
  start();
  EXPECT_EQ(registry.messages, (Messages{kOpening, kOpening}));
  EXPECT_EQ(text(Form1Control::Text1), L"");
  EXPECT_EQ(text(Form1Control::Text2), L"");

  type(Form1Control::Text1, L"Laura");
  click(Form1Control::Command2);
  EXPECT_EQ(registry.messages, (Messages{kOpening, kOpening, kOpening, kOpening}));
  EXPECT_FALSE(zone.exists());
}

TEST_F(Form1Test, FailuresShowModalBoxesCaptionedTovixOwnedByTheWindow) {
  start();  // no zone key: the start-up messages went to the quiet registry
  ScopedRegistryPlatform real(realRegistryPlatform());
  SetForegroundWindow(form.hwnd());
  form.DoEvents();
  MessageBoxAnswers answers(GetCurrentThreadId(), 2);
  click(Form1Control::Command2);
  const auto& seen = answers.seen();
  ASSERT_EQ(seen.size(), 2u);
  for (const auto& box : seen) {
    EXPECT_EQ(box.caption, L"Tovix");
    EXPECT_EQ(box.text, kOpening);
    EXPECT_EQ(box.owner, form.hwnd());
    EXPECT_FALSE(box.ownerEnabled);  // the window takes no input while a box is up
  }
  EXPECT_TRUE(IsWindowEnabled(form.hwnd()));
}

TEST_F(Form1Test, ApplyWritesBothBoxesAsTheyStandEvenEmpty) {
  zone.create();
  zone.setText(L"DisplayName", "Laura");
  zone.setText(L"Icon", "explorer.exe#0100");
  start();
  type(Form1Control::Text1, L"Zona de Laura");
  type(Form1Control::Text2, L"");
  click(Form1Control::Command2);
  EXPECT_EQ(zone.get(L"DisplayName")->bytes, std::string("Zona de Laura", 14));
  EXPECT_EQ(zone.get(L"Icon")->bytes, std::string("", 1));
}

TEST_F(Form1Test, ApplyUntouchedRewritesTheSameValues) {
  zone.create();
  zone.setText(L"DisplayName", "Laura");
  zone.setText(L"Icon", "explorer.exe#0100");
  start();
  RecordingRegistry registry;
  click(Form1Control::Command2);
  EXPECT_EQ(registry.writes, 2);
  EXPECT_EQ(zone.get(L"DisplayName")->bytes, std::string("Laura", 6));
  EXPECT_EQ(zone.get(L"Icon")->bytes, std::string("explorer.exe#0100", 18));
}

TEST_F(Form1Test, ApplyAttemptsTheIconEvenWhenTheNameFails) {
  zone.create();
  start();
  RecordingRegistry registry({Step::Set});
  click(Form1Control::Command2);
  EXPECT_EQ(registry.writes, 2);
  EXPECT_EQ(registry.messages, (Messages{L"Error saving value.", L"Error saving value."}));
  EXPECT_EQ(registry.closed, 2);
}

TEST_F(Form1Test, FindPutsTheChosenFilesFullPathInTheIconBox) {
  zone.create();
  zone.setText(L"Icon", "explorer.exe#0100");
  start();
  const std::wstring icon = makeTempFile(L"Tovix icons\\zone.ico");
  OpenDialogAnswer answer(GetCurrentThreadId(), icon);
  click(Form1Control::Command1);
  EXPECT_TRUE(answer.answered());
  EXPECT_EQ(text(Form1Control::Text2), icon);
}

TEST_F(Form1Test, ACancelledFindLeavesTheIconBoxAsItWas) {
  zone.create();
  zone.setText(L"Icon", "explorer.exe#0100");
  start();
  OpenDialogAnswer answer(GetCurrentThreadId(), std::nullopt);
  click(Form1Control::Command1);
  EXPECT_TRUE(answer.answered());
  EXPECT_EQ(text(Form1Control::Text2), L"explorer.exe#0100");
}

}  // namespace
