// Form1's looks under Wine at the screen's DPI (the suite runs at 96, 120, 144
// and 192) and after moves to a monitor of another DPI: frame, size and place,
// every control's rectangle and font, the banner, and the Tab order with real
// key presses. Expected figures come from the design's pixels at 96 DPI, 15
// twips each, at the DPI in question.
#include "Form1Fixture.h"
#include "Resample.h"

#include <cstdlib>

namespace {

using enum Form1Control;

int atDpi(int pixelsAt96, int dpi) { return MulDiv(15 * pixelsAt96, dpi, 1440); }

struct Placement {
  Form1Control control;
  RECT at96;  // left, top, right, bottom in client pixels at 96 DPI
};
const Placement kPlacements[] = {
    {Label1, {16, 93, 92, 116}},     {Text1, {107, 87, 299, 114}},     {Label2, {16, 148, 89, 177}},
    {Text2, {107, 143, 230, 170}},   {Command1, {240, 141, 300, 169}}, {Label3, {19, 193, 255, 225}},
    {Command2, {99, 246, 217, 274}},
};

// Font heights in pixels at 96 DPI: Arial 8.25 and 9.75 pt, the dialog font 8 pt.
struct FontUse {
  Form1Control control;
  int heightAt96;
  const wchar_t* face;
};
const FontUse kFonts[] = {{Label1, 11, L"Arial"}, {Label3, 11, L"Arial"},  {Text1, 13, L"Arial"},
                          {Text2, 13, L"Arial"},  {Command1, 11, nullptr}, {Command2, 11, nullptr}};

class Form1Layout : public Form1Fixture {
protected:
  void SetUp() override {
    HDC screen = GetDC(nullptr);
    screenDpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    if (const char* wanted = std::getenv("TOVIX_DPI")) {
      ASSERT_EQ(screenDpi, std::atoi(wanted));
    }
    start();
  }
  RECT placeInClient(Form1Control which) const {
    RECT place{};
    GetWindowRect(control(which), &place);
    MapWindowPoints(nullptr, form.hwnd(), reinterpret_cast<POINT*>(&place), 2);
    return place;
  }
  HFONT fontOf(Form1Control which) const {
    return reinterpret_cast<HFONT>(SendMessageW(control(which), WM_GETFONT, 0, 0));
  }
  // Presses a key, then lets the form handle it; false if that closed the window.
  bool press(WORD key, bool shift = false) {
    pressKey(key, shift);
    return form.DoEvents();
  }
  // What Windows does when the window moves to a monitor of that DPI: it asks
  // for the window's size there, then suggests a place of that size.
  void moveToMonitorOf(int dpi) {
    RECT place{};
    GetWindowRect(form.hwnd(), &place);
    SIZE size{place.right - place.left, place.bottom - place.top};
    ASSERT_TRUE(SendMessageW(form.hwnd(), 0x02E4 /* WM_GETDPISCALEDSIZE */, dpi, reinterpret_cast<LPARAM>(&size)));
    RECT suggested{place.left, place.top, place.left + size.cx, place.top + size.cy};
    SendMessageW(form.hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
  }
  void expectLaidOutAt(int dpi);

  int screenDpi = 96;
};

void Form1Layout::expectLaidOutAt(int dpi) {
  UpdateWindow(form.hwnd());
  // The window: a client area of 314 x 294 pixels at 96 DPI inside the frame
  // Windows draws at that DPI. Wine keeps drawing a frame at the screen's DPI
  // after a move (Windows redraws it before it tells the window), so the
  // client area itself is measured at the screen's DPI only.
  RECT client{0, 0, atDpi(314, dpi), atDpi(294, dpi)}, outer{}, frame = client;
  using AdjustForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  const auto adjust = reinterpret_cast<AdjustForDpi>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
  adjust(&frame, static_cast<DWORD>(GetWindowLongW(form.hwnd(), GWL_STYLE)), FALSE, 0, dpi);
  GetWindowRect(form.hwnd(), &outer);
  EXPECT_EQ(outer.right - outer.left, frame.right - frame.left) << "at " << dpi;
  EXPECT_EQ(outer.bottom - outer.top, frame.bottom - frame.top) << "at " << dpi;
  if (dpi == screenDpi) {
    RECT actual{};
    GetClientRect(form.hwnd(), &actual);
    EXPECT_TRUE(EqualRect(&actual, &client)) << actual.right << " x " << actual.bottom << " at " << dpi;
  }

  for (const auto& [which, at96] : kPlacements) {
    const RECT expected{atDpi(at96.left, dpi), atDpi(at96.top, dpi), atDpi(at96.right, dpi), atDpi(at96.bottom, dpi)};
    const RECT actual = placeInClient(which);
    EXPECT_TRUE(EqualRect(&actual, &expected))
        << "control " << static_cast<int>(which) << " at " << dpi << ": " << actual.left << "," << actual.top << ","
        << actual.right << "," << actual.bottom;
    EXPECT_TRUE(IsWindowVisible(control(which)));
  }
  for (const auto& [which, heightAt96, face] : kFonts) {
    LOGFONTW font{};
    GetObjectW(fontOf(which), sizeof font, &font);
    EXPECT_EQ(font.lfHeight, -MulDiv(heightAt96, dpi, 96)) << "control " << static_cast<int>(which) << " at " << dpi;
    if (face == nullptr) continue;
    EXPECT_STREQ(font.lfFaceName, face);
    EXPECT_EQ(font.lfWeight, FW_NORMAL);
    EXPECT_FALSE(font.lfItalic || font.lfUnderline || font.lfStrikeOut);
    EXPECT_EQ(font.lfCharSet, ANSI_CHARSET);
  }
  // One font object per size, shared; at the screen's DPI the buttons have the stock dialog font.
  EXPECT_EQ(fontOf(Label1), fontOf(Label3));
  EXPECT_EQ(fontOf(Text1), fontOf(Text2));
  if (dpi == screenDpi) {
    EXPECT_EQ(fontOf(Command1), GetStockObject(DEFAULT_GUI_FONT));
  }

  // The reminder takes two lines of its font within its label.
  const HWND label = control(Label3);
  HDC dc = GetDC(label);
  const HGDIOBJ previous = SelectObject(dc, fontOf(Label3));
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  RECT wrapped{0, 0, atDpi(236, dpi), 0};
  DrawTextW(dc, windowText(label).c_str(), -1, &wrapped, DT_WORDBREAK | DT_CALCRECT | DT_NOPREFIX);
  SelectObject(dc, previous);
  ReleaseDC(label, dc);
  EXPECT_EQ(wrapped.bottom, 2 * metrics.tmHeight) << "at " << dpi;
  EXPECT_LE(wrapped.bottom, atDpi(32, dpi));

  // The banner: at its place, the 300 x 63 picture at its size on the screen,
  // inside a one-pixel black border.
  const SIZE picture{MulDiv(300, dpi, 96), MulDiv(63, dpi, 96)};
  const RECT banner = placeInClient(Image1);
  EXPECT_EQ(banner.left, atDpi(5, dpi));
  EXPECT_EQ(banner.top, atDpi(5, dpi));
  EXPECT_EQ(banner.right - banner.left, picture.cx + 2) << "at " << dpi;
  EXPECT_EQ(banner.bottom - banner.top, picture.cy + 2) << "at " << dpi;
  BITMAP shown{};
  GetObjectW(reinterpret_cast<HBITMAP>(this->shown(Image1)), sizeof shown, &shown);
  EXPECT_EQ(shown.bmWidth, picture.cx);
  EXPECT_EQ(shown.bmHeight, picture.cy);
  HDC window = GetDC(control(Image1));
  EXPECT_EQ(GetPixel(window, 0, 0), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(window, picture.cx + 1, picture.cy + 1), RGB(0, 0, 0));
  EXPECT_NE(GetPixel(window, 1, 1), RGB(0, 0, 0)) << "the picture's white pane, at " << dpi;
  ReleaseDC(control(Image1), window);
  for (const auto stored : {Image2, Image3, Image4}) EXPECT_FALSE(IsWindowVisible(control(stored)));

  // The window's icons, drawn at the sizes Windows shows at that DPI.
  for (const auto& [kind, sizeAt96] : {std::pair{ICON_BIG, 32}, std::pair{ICON_SMALL, 16}}) {
    ICONINFO icon{};
    ASSERT_TRUE(GetIconInfo(reinterpret_cast<HICON>(SendMessageW(form.hwnd(), WM_GETICON, kind, 0)), &icon));
    BITMAP image{};
    GetObjectW(icon.hbmColor, sizeof image, &image);
    DeleteObject(icon.hbmColor);
    DeleteObject(icon.hbmMask);
    EXPECT_EQ(image.bmWidth, MulDiv(sizeAt96, dpi, 96)) << "icon " << kind << " at " << dpi;
  }
}

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

TEST_F(Form1Layout, OpensLaidOutAtTheScreensDpiCentredOnTheScreen) {
  expectLaidOutAt(screenDpi);
  RECT outer{};
  GetWindowRect(form.hwnd(), &outer);
  EXPECT_NEAR((outer.left + outer.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
  EXPECT_NEAR((outer.top + outer.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
}

TEST_F(Form1Layout, IsLaidOutAgainOnAMonitorOfAnotherDpiKeepingTextsAndFocus) {
  type(Text1, L"Laura");
  SetFocus(control(Text2));
  for (const int dpi : {screenDpi == 144 ? 96 : 144, screenDpi}) {
    moveToMonitorOf(dpi);
    expectLaidOutAt(dpi);
    EXPECT_EQ(text(Text1), L"Laura");
    EXPECT_EQ(GetFocus(), control(Text2));
  }
}

// The fonts and icons made for one DPI are freed once those for the next are
// in use: a handle of the last round no longer names a font or an icon.
TEST_F(Form1Layout, AThousandDpiChangesLeaveNoFontOrIconBehind) {
  std::vector<HFONT> fonts;
  std::vector<HICON> icons;
  RECT place{};  // kept: resizing the window would only slow the test
  GetWindowRect(form.hwnd(), &place);
  for (int change = 0; change < 1000; ++change) {
    const int dpi = change % 2 == 0 ? 144 : 120;
    SendMessageW(form.hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&place));
    for (const HFONT font : fonts)
      ASSERT_TRUE(font == GetStockObject(DEFAULT_GUI_FONT) || GetObjectType(font) == 0) << "change " << change;
    for (const HICON icon : icons) {
      ICONINFO info{};
      ASSERT_FALSE(GetIconInfo(icon, &info)) << "change " << change;
    }
    fonts = {fontOf(Label1), fontOf(Text1), fontOf(Command1)};
    icons = {reinterpret_cast<HICON>(SendMessageW(form.hwnd(), WM_GETICON, ICON_BIG, 0)),
             reinterpret_cast<HICON>(SendMessageW(form.hwnd(), WM_GETICON, ICON_SMALL, 0))};
  }
}

// Reducing the picture drawn for 200 %: each new pixel is the mean of what it
// covers, so stripes of one pixel become an even grey and a solid area keeps its colour.
TEST(PictureReduction, AveragesWhatEachNewPixelCovers) {
  const struct {
    std::vector<std::uint32_t> from;
    int width, toWidth;
    std::vector<std::uint32_t> to;
  } cases[] = {
      {{0x000000, 0xFFFFFF, 0x000000, 0xFFFFFF}, 4, 2, {0x808080, 0x808080}},
      {{0xFF000000, 0xFF000000, 0xFF000000}, 3, 2, {0xFF000000, 0xFF000000}},
      {{0x00, 0x30, 0x60, 0x90}, 4, 3, {0x0C, 0x48, 0x84}},
  };
  for (const auto& c : cases) EXPECT_EQ(resample({c.width, 1, c.from}, c.toWidth, 1).bgra, c.to);
}

TEST_F(Form1Layout, TabVisitsTheBoxesAndButtonsAndWrapsAround) {
  ASSERT_EQ(GetFocus(), control(Text1));
  for (const auto next : {Text2, Command1, Command2, Text1}) {
    ASSERT_TRUE(press(VK_TAB));
    EXPECT_EQ(GetFocus(), control(next)) << "after Tab, expected control " << static_cast<int>(next);
  }
  for (const auto next : {Command2, Command1, Text2, Text1}) {
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
  EXPECT_EQ(GetFocus(), control(Text2));
}

}  // namespace
