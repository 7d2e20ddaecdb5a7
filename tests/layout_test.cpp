// Form1's looks under Wine at 96 DPI: frame, size and place, every control's
// rectangle and font, the Tab order with real key presses, and the pictures.
#include "Form1Fixture.h"

namespace {

class Form1Layout : public Form1Fixture {
protected:
  void SetUp() override { start(); }
  RECT placeInClient(Form1Control which) const {
    RECT place{};
    GetWindowRect(control(which), &place);
    MapWindowPoints(nullptr, form.hwnd(), reinterpret_cast<POINT*>(&place), 2);
    return place;
  }
  LOGFONTW fontOf(Form1Control which) const {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control(which), WM_GETFONT, 0, 0)), sizeof font, &font);
    return font;
  }
  // Presses a key, then lets the form handle it; false if that closed the window.
  bool press(WORD key, bool shift = false) {
    pressKey(key, shift);
    return form.DoEvents();
  }
};

TEST_F(Form1Layout, TheWindowHasAFixedFrameWithCloseOnlyAndNoTaskBarButton) {
  const auto style = static_cast<DWORD>(GetWindowLongW(form.hwnd(), GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(GetWindowLongW(form.hwnd(), GWL_EXSTYLE));
  EXPECT_EQ(style & WS_CAPTION, static_cast<DWORD>(WS_CAPTION));
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  EXPECT_FALSE(exStyle & (WS_EX_TOOLWINDOW | WS_EX_APPWINDOW));
  // An owned window gets no task-bar button; the owner is never shown.
  const HWND owner = GetWindow(form.hwnd(), GW_OWNER);
  ASSERT_NE(owner, nullptr);
  EXPECT_FALSE(IsWindowVisible(owner));
  EXPECT_EQ(windowText(form.hwnd()), L"Tovix your Explorer");
}

TEST_F(Form1Layout, TheClientAreaIs314By294PixelsCentredOnTheScreen) {
  RECT client{};
  GetClientRect(form.hwnd(), &client);
  EXPECT_EQ(client.right, 314);
  EXPECT_EQ(client.bottom, 294);
  RECT outer{};
  GetWindowRect(form.hwnd(), &outer);
  EXPECT_NEAR((outer.left + outer.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
  EXPECT_NEAR((outer.top + outer.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
}

struct Placement {
  Form1Control control;
  RECT pixels;  // left, top, right, bottom in client pixels
};

TEST_F(Form1Layout, EveryVisibleControlSitsAtItsPlace) {
  const Placement placements[] = {
      {Form1Control::Image1, {5, 5, 307, 70}},     {Form1Control::Label1, {16, 93, 92, 116}},
      {Form1Control::Text1, {107, 87, 299, 114}},  {Form1Control::Label2, {16, 148, 89, 177}},
      {Form1Control::Text2, {107, 143, 230, 170}}, {Form1Control::Command1, {240, 141, 300, 169}},
      {Form1Control::Label3, {19, 193, 255, 225}}, {Form1Control::Command2, {99, 246, 217, 274}},
  };
  for (const auto& [which, expected] : placements) {
    const RECT actual = placeInClient(which);
    EXPECT_TRUE(EqualRect(&actual, &expected)) << "control " << static_cast<int>(which) << " at " << actual.left << ","
                                               << actual.top << "," << actual.right << "," << actual.bottom;
    EXPECT_TRUE(IsWindowVisible(control(which)));
  }
}

TEST_F(Form1Layout, TheStoredPicturesAreNeverSeen) {
  RECT client{};
  GetClientRect(form.hwnd(), &client);
  for (const auto which : {Form1Control::Image2, Form1Control::Image3, Form1Control::Image4}) {
    EXPECT_FALSE(IsWindowVisible(control(which)));
    const RECT place = placeInClient(which);
    EXPECT_EQ(place.right - place.left, 300);
    EXPECT_EQ(place.bottom - place.top, 63);
    EXPECT_GE(place.top, client.bottom);  // below the client area as well
  }
}

TEST_F(Form1Layout, TheBannerShowsThePlainPictureInsideItsBorder) {
  const auto shown = [&](Form1Control which) { return SendMessageW(control(which), STM_GETIMAGE, IMAGE_BITMAP, 0); };
  ASSERT_NE(shown(Form1Control::Image1), 0);
  BITMAP bitmap{};
  GetObjectW(reinterpret_cast<HBITMAP>(shown(Form1Control::Image1)), sizeof bitmap, &bitmap);
  EXPECT_EQ(bitmap.bmWidth, 300);
  EXPECT_EQ(bitmap.bmHeight, 63);
  // Each image control holds its own decoded picture; the plain one starts in the banner.
  EXPECT_NE(shown(Form1Control::Image2), shown(Form1Control::Image3));
  EXPECT_NE(shown(Form1Control::Image2), 0);
  EXPECT_NE(shown(Form1Control::Image3), 0);
  EXPECT_NE(shown(Form1Control::Image4), 0);

  // The border is one black pixel all round; the picture starts inside it.
  HDC window = GetDC(control(Form1Control::Image1));
  EXPECT_EQ(GetPixel(window, 0, 0), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(window, 301, 64), RGB(0, 0, 0));
  EXPECT_NE(GetPixel(window, 1, 1), RGB(0, 0, 0));  // the picture's white pane
  ReleaseDC(control(Form1Control::Image1), window);
}

struct FontUse {
  Form1Control control;
  int height;
};

TEST_F(Form1Layout, LabelsAndBoxesUseArialAndButtonsTheDialogFont) {
  const FontUse arial[] = {{Form1Control::Label1, -11},
                           {Form1Control::Label2, -11},
                           {Form1Control::Label3, -11},
                           {Form1Control::Text1, -13},
                           {Form1Control::Text2, -13}};
  for (const auto& [which, height] : arial) {
    const LOGFONTW font = fontOf(which);
    EXPECT_STREQ(font.lfFaceName, L"Arial");
    EXPECT_EQ(font.lfHeight, height);
    EXPECT_EQ(font.lfWeight, FW_NORMAL);
    EXPECT_FALSE(font.lfItalic || font.lfUnderline || font.lfStrikeOut);
    EXPECT_EQ(font.lfCharSet, ANSI_CHARSET);
  }
  // One font object per size, shared.
  EXPECT_EQ(SendMessageW(control(Form1Control::Label1), WM_GETFONT, 0, 0),
            SendMessageW(control(Form1Control::Label3), WM_GETFONT, 0, 0));
  EXPECT_EQ(SendMessageW(control(Form1Control::Text1), WM_GETFONT, 0, 0),
            SendMessageW(control(Form1Control::Text2), WM_GETFONT, 0, 0));
  const auto dialogFont = reinterpret_cast<LRESULT>(GetStockObject(DEFAULT_GUI_FONT));
  EXPECT_EQ(SendMessageW(control(Form1Control::Command1), WM_GETFONT, 0, 0), dialogFont);
  EXPECT_EQ(SendMessageW(control(Form1Control::Command2), WM_GETFONT, 0, 0), dialogFont);
}

TEST_F(Form1Layout, TheReminderWrapsToTwoLinesInsideItsLabel) {
  const HWND label = control(Form1Control::Label3);
  EXPECT_EQ(windowText(label), L"Remenber for see the changes you need restart your computer");
  HDC dc = GetDC(label);
  const HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  RECT wrapped{0, 0, 236, 0};
  const std::wstring text = windowText(label);
  DrawTextW(dc, text.c_str(), -1, &wrapped, DT_WORDBREAK | DT_CALCRECT | DT_NOPREFIX);
  SelectObject(dc, previous);
  ReleaseDC(label, dc);
  EXPECT_EQ(wrapped.bottom, 2 * metrics.tmHeight);
  EXPECT_LE(wrapped.bottom, 32);
  EXPECT_LE(wrapped.right, 236);
}

TEST_F(Form1Layout, TabVisitsTheBoxesAndButtonsAndWrapsAround) {
  ASSERT_EQ(GetFocus(), control(Form1Control::Text1));
  const Form1Control forward[] = {Form1Control::Text2, Form1Control::Command1, Form1Control::Command2,
                                  Form1Control::Text1};
  for (const auto next : forward) {
    ASSERT_TRUE(press(VK_TAB));
    EXPECT_EQ(GetFocus(), control(next)) << "after Tab, expected control " << static_cast<int>(next);
  }
  const Form1Control backward[] = {Form1Control::Command2, Form1Control::Command1, Form1Control::Text2,
                                   Form1Control::Text1};
  for (const auto next : backward) {
    ASSERT_TRUE(press(VK_TAB, true));
    EXPECT_EQ(GetFocus(), control(next)) << "after Shift+Tab, expected control " << static_cast<int>(next);
  }
}

TEST_F(Form1Layout, EnterPressesNoButtonAndEscapeDoesNotClose) {
  const size_t messagesBefore = registry.messages.size();
  EXPECT_TRUE(press(VK_RETURN));
  EXPECT_TRUE(press(VK_ESCAPE));
  ASSERT_TRUE(press(VK_TAB));  // to Text2, whose Enter must not click "Find..." either
  EXPECT_TRUE(press(VK_RETURN));
  EXPECT_EQ(registry.writes, 0);
  EXPECT_EQ(registry.messages.size(), messagesBefore);  // "Apply changes..." did not run
  EXPECT_TRUE(IsWindowVisible(form.hwnd()));
  EXPECT_EQ(GetFocus(), control(Form1Control::Text2));
}

}  // namespace
