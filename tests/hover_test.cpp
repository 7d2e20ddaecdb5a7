// The banner follows the pointer: real pointer moves through the platform's
// input queue, and the picture Image1 shows. (How it follows the edits, the
// start-up, typing and "Find..." tests check.)
#include "Form1Fixture.h"

namespace {

// Over a box its ring; over labels, buttons and the banner itself, no change;
// over bare window the plain picture. A move that would show the picture
// already shown repaints nothing.
TEST_F(Form1Fixture, ThePointerRingsTheBoxUnderItAndNothingOverBareWindow) {
  storeBothValues();
  start();
  const std::tuple<Form1Control, POINT, Form1Control> moves[] = {
      {Text1, {4, 4}, Image2},  {Label1, {4, 4}, Image2},   {Command1, {4, 4}, Image2}, {Image1, {4, 4}, Image2},
      {Label3, {4, 4}, Image2}, {Command2, {4, 4}, Image2}, {Label1, {4, 40}, Image4},  // below the label: bare window
      {Text2, {4, 4}, Image3},  {Label2, {4, 4}, Image3}};
  for (const auto& [over, at, picture] : moves) {
    pointAt(over, at);
    EXPECT_EQ(shown(Image1), shown(picture)) << "over control " << static_cast<int>(over) << " at " << at.y;
  }
  UpdateWindow(control(Image1));
  SendMessageW(control(Text2), WM_MOUSEMOVE, 0, MAKELPARAM(9, 5));
  EXPECT_FALSE(GetUpdateRect(control(Image1), nullptr, FALSE));
  SendMessageW(control(Text1), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(GetUpdateRect(control(Image1), nullptr, FALSE));
}

}  // namespace
