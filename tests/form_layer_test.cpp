// The window layer under Form1: a text box's Change event, and the controls
// made from a layout table.
#include "Controls.h"
#include "Form.h"
#include "WindowTesting.h"

#include <gtest/gtest.h>

namespace {

constexpr FormRow kTestForm{L"Layer test", 3000, 1500};
// clang-format off
constexpr ControlRow kTestControls[] = {
  {L"Box",    ControlKind::TextBox,       150, 150, 2400, 405, L"", FontKind::Arial975,      0, false, true},
  {L"Button", ControlKind::CommandButton, 150, 750, 1200, 420, L"Go", FontKind::DialogDefault, 0, false, true},
};
// clang-format on

class TestForm : public Form {
public:
  TestForm() : Form(kTestForm, kTestControls) {}
  TextBox Box{*this, kTestControls[0]};
  CommandButton Button{*this, kTestControls[1]};
};

TEST(TextBoxChange, RunsForTypedAndSetTextButNotForTheTextItAlreadyHolds) {
  TestForm form;
  form.Load();
  int changes = 0;
  form.Box.Change = [&] { ++changes; };

  form.Box.setText(L"explorer.exe#0100");
  EXPECT_EQ(changes, 1);
  form.Box.setText(L"explorer.exe#0100");
  EXPECT_EQ(changes, 1);
  SendMessageW(form.Box.hwnd(), WM_CHAR, L'!', 0);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(form.Box.text(), L"!explorer.exe#0100");
  form.Box.setText(L"");
  EXPECT_EQ(changes, 3);
}

TEST(TextBox, TakesTextsLongerThanAnEditControlsDefaultLimit) {
  TestForm form;
  form.Load();
  const std::wstring longText(100000, L'n');
  form.Box.setText(longText);
  SendMessageW(form.Box.hwnd(), EM_SETSEL, longText.size(), longText.size());
  SendMessageW(form.Box.hwnd(), WM_CHAR, L'!', 0);
  EXPECT_EQ(form.Box.text(), longText + L"!");
}

TEST(CommandButton, RunsClickOncePerClick) {
  TestForm form;
  form.Load();
  form.Show();
  int clicks = 0;
  form.Button.Click = [&] { ++clicks; };
  SendMessageW(form.Button.hwnd(), BM_CLICK, 0, 0);
  SendMessageW(form.Button.hwnd(), BM_CLICK, 0, 0);
  pumpMessages();
  EXPECT_EQ(clicks, 2);
}

}  // namespace
