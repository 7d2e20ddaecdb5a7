// Form1 in-process under Wine: start-up reads the zone's name and icon into
// the boxes, "Find..." fills the icon box, "Apply changes..." writes both back.
#include "Form1Fixture.h"

namespace {

using Form1Test = Form1Fixture;

TEST_F(Form1Test, StartUpFillsTheBoxesWithTheStoredValues) {
  storeBothValues();
  start();
  EXPECT_EQ(text(Form1Control::Text1), L"Laura");
  EXPECT_EQ(text(Form1Control::Text2), L"explorer.exe#0100");
  EXPECT_TRUE(registry.messages.empty());
  EXPECT_EQ(GetFocus(), control(Form1Control::Text1));
}

TEST_F(Form1Test, StartUpWithAMissingValueReportsItAndLeavesItsBoxEmpty) {
  zone.create();
  zone.setText(L"DisplayName", "Laura");
  start();
  EXPECT_EQ(text(Form1Control::Text1), L"Laura");
  EXPECT_EQ(text(Form1Control::Text2), L"");
  EXPECT_EQ(registry.messages, (Messages{kLength, kValue}));
}

TEST_F(Form1Test, WithoutTheZoneKeyStartUpAndApplyEachReportTwiceAndCreateNothing) {
  start();
  EXPECT_EQ(registry.messages, (Messages{kOpening, kOpening}));
  EXPECT_EQ(text(Form1Control::Text1), L"");
  type(Form1Control::Text1, L"Laura");
  click(Form1Control::Command2);
  EXPECT_EQ(registry.messages, (Messages{kOpening, kOpening, kOpening, kOpening}));
  EXPECT_FALSE(zone.exists());
}

TEST_F(Form1Test, FailuresShowModalBoxesCaptionedTovixOwnedByTheWindow) {
  start();  // no zone key: the start-up messages were kept, not shown
  ScopedRegistryPlatform real(realRegistryPlatform());
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

TEST_F(Form1Test, ApplyWritesBothBoxesAsTheyStandEvenEmptyOrUntouched) {
  storeBothValues();
  start();
  click(Form1Control::Command2);
  EXPECT_EQ(registry.writes, 2);
  EXPECT_EQ(zone.get(L"DisplayName")->bytes, std::string("Laura", 6));
  EXPECT_EQ(zone.get(L"Icon")->bytes, std::string("explorer.exe#0100", 18));

  type(Form1Control::Text1, L"Zona de Laura");
  type(Form1Control::Text2, L"");
  click(Form1Control::Command2);
  EXPECT_EQ(zone.get(L"DisplayName")->bytes, std::string("Zona de Laura", 14));
  EXPECT_EQ(zone.get(L"Icon")->bytes, std::string("", 1));
  EXPECT_TRUE(registry.messages.empty());
}

TEST_F(Form1Test, ApplyAttemptsTheIconEvenWhenTheNameFails) {
  zone.create();
  start();
  RecordingRegistry failing({Step::Set});
  click(Form1Control::Command2);
  EXPECT_EQ(failing.writes, 2);
  EXPECT_EQ(failing.messages, (Messages{kSaving, kSaving}));
  EXPECT_EQ(failing.closed, 2);
}

TEST_F(Form1Test, FindPutsTheChosenFilesFullPathInTheIconBoxAndACancelLeavesIt) {
  storeBothValues();
  start();
  {
    OpenDialogAnswer cancel(GetCurrentThreadId(), std::nullopt);
    click(Form1Control::Command1);
    EXPECT_TRUE(cancel.answered());
  }
  EXPECT_EQ(text(Form1Control::Text2), L"explorer.exe#0100");

  const std::wstring icon = makeTempFile(L"Tovix icons\\zone.ico");
  OpenDialogAnswer choose(GetCurrentThreadId(), icon);
  click(Form1Control::Command1);
  EXPECT_TRUE(choose.answered());
  EXPECT_EQ(text(Form1Control::Text2), icon);
}

}  // namespace
