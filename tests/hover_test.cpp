// The banner follows the pointer and the edits: real pointer moves and key
// presses through the platform's input queue, and the picture Image1 shows.
#include "Form1Fixture.h"

namespace {

class Hover : public Form1Fixture {
protected:
  void start(bool withValues) {
    if (withValues) storeBothValues();
    Form1Fixture::start();
  }
  ::testing::AssertionResult banner(Form1Control stored) const {
    if (shown(Form1Control::Image1) == shown(stored)) return ::testing::AssertionSuccess();
    auto failure = ::testing::AssertionFailure()
                   << "the banner does not show the picture of control " << static_cast<int>(stored) << " but ";
    for (const auto other : {Form1Control::Image2, Form1Control::Image3, Form1Control::Image4}) {
      if (shown(Form1Control::Image1) == shown(other)) return failure << "that of " << static_cast<int>(other);
    }
    return failure << "its own";
  }
  // Moves the pointer to a point of a control's client area.
  void pointAt(Form1Control which, POINT point = {4, 4}) {
    ClientToScreen(control(which), &point);
    movePointer(point);
    form.DoEvents();
  }
  void pointAtBlankArea() {
    POINT point{20, 130};  // between the two labels, left of the boxes
    ClientToScreen(form.hwnd(), &point);
    ScreenToClient(control(Form1Control::Label1), &point);
    pointAt(Form1Control::Label1, point);
  }
  SIZE bannerSize() const {
    RECT place{};
    GetWindowRect(control(Form1Control::Image1), &place);
    return {place.right - place.left, place.bottom - place.top};
  }
};

TEST_F(Hover, AfterStartUpWithBothValuesTheIconIsRinged) {
  start(true);
  EXPECT_TRUE(banner(Form1Control::Image3));
}

TEST_F(Hover, AfterStartUpWithoutValuesTheBannerKeepsThePlainPicture) {
  start(false);
  EXPECT_TRUE(banner(Form1Control::Image4));
}

TEST_F(Hover, ThePointerRingsTheNameOverItsBoxAndNothingOverBareWindow) {
  start(true);
  pointAt(Form1Control::Text1);
  EXPECT_TRUE(banner(Form1Control::Image2));
  // Labels, buttons and the banner itself change nothing.
  for (const auto over : {Form1Control::Label1, Form1Control::Command1, Form1Control::Image1, Form1Control::Label3,
                          Form1Control::Command2}) {
    pointAt(over);
    EXPECT_TRUE(banner(Form1Control::Image2)) << "over control " << static_cast<int>(over);
  }
  pointAtBlankArea();
  EXPECT_TRUE(banner(Form1Control::Image4));
  pointAt(Form1Control::Text2);
  EXPECT_TRUE(banner(Form1Control::Image3));
  pointAt(Form1Control::Label2);
  EXPECT_TRUE(banner(Form1Control::Image3));
}

TEST_F(Hover, TypingInTheNameBoxRingsTheNameWhereverThePointerRests) {
  start(true);
  pointAt(Form1Control::Image1);
  SetFocus(control(Form1Control::Text1));
  pressKey('A');
  form.DoEvents();
  EXPECT_EQ(windowText(control(Form1Control::Text1)), L"aLaura");
  EXPECT_TRUE(banner(Form1Control::Image2));
}

TEST_F(Hover, ChoosingAFileWithFindRingsTheIcon) {
  start(true);
  pointAt(Form1Control::Text1);
  ASSERT_TRUE(banner(Form1Control::Image2));
  pointAt(Form1Control::Command1);  // where the pointer is when "Find..." is clicked
  const std::wstring icon = makeTempFile(L"Tovix icons\\hover.ico");
  OpenDialogAnswer answer(GetCurrentThreadId(), icon);
  SendMessageW(control(Form1Control::Command1), BM_CLICK, 0, 0);
  form.DoEvents();
  EXPECT_TRUE(banner(Form1Control::Image3));
}

TEST_F(Hover, TheBannerKeepsItsSizeWithEveryPicture) {
  start(true);
  EXPECT_EQ(bannerSize().cx, 302);
  EXPECT_EQ(bannerSize().cy, 65);
  for (const auto over : {Form1Control::Text1, Form1Control::Text2}) {
    pointAt(over);
    EXPECT_EQ(bannerSize().cx, 302);
    EXPECT_EQ(bannerSize().cy, 65);
  }
  pointAtBlankArea();
  EXPECT_EQ(bannerSize().cx, 302);
  EXPECT_EQ(bannerSize().cy, 65);
  for (const auto stored : {Form1Control::Image2, Form1Control::Image3, Form1Control::Image4}) {
    EXPECT_FALSE(IsWindowVisible(control(stored)));
  }
}

TEST_F(Hover, MovesThatShowThePictureAlreadyShownRepaintNothing) {
  start(true);
  pointAt(Form1Control::Text2);  // the icon ring, already shown after start-up
  const HWND banner = control(Form1Control::Image1);
  EXPECT_FALSE(GetUpdateRect(banner, nullptr, FALSE));
  for (int move = 0; move < 50; ++move) {
    SendMessageW(control(Form1Control::Text2), WM_MOUSEMOVE, 0, MAKELPARAM(move, 5));
    EXPECT_FALSE(GetUpdateRect(banner, nullptr, FALSE));
  }
  // A real change repaints the banner.
  SendMessageW(control(Form1Control::Text1), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(GetUpdateRect(banner, nullptr, FALSE));
}

}  // namespace
