// Form1's looks under Wine at the screen's DPI (the suite runs at 96, 120, 144
// and 192) and after moves to a monitor of another DPI: frame, size and place,
// every control's rectangle and font, the banner, the icons, and the keys with
// real key presses. The pictures expected are those of tests/reference/, drawn
// from resources/ by tools/assets/make-references.py.
#include "Dpi.h"
#include "Form1Fixture.h"
#include "Resample.h"

#include <algorithm>
#include <cstdlib>

namespace {

// How a picture differs from the part of a reference picture from a point,
// channel by channel: the largest difference, and the mean one, which a bias
// in rounding moves. The picture is a bitmap, or an icon drawn at its own size
// over a grey square, as a title bar shows it over its colour: one smaller
// than the square leaves grey, a larger one is cut.
std::pair<int, double> difference(HBITMAP bitmap, HICON icon, SIZE size, HBITMAP reference, POINT from) {
  HDC screen = GetDC(nullptr), dc = CreateCompatibleDC(screen), expected = CreateCompatibleDC(screen);
  const UniqueBitmap square(icon ? CreateCompatibleBitmap(screen, size.cx, size.cy) : nullptr);
  ReleaseDC(nullptr, screen);
  const HGDIOBJ previous = SelectObject(dc, icon ? square.get() : bitmap),
                previousExpected = SelectObject(expected, reference);
  const RECT all{0, 0, size.cx, size.cy};
  if (icon) FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));  // 128, 128, 128
  if (icon) DrawIconEx(dc, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
  int largest = 0, sum = 0;
  for (int y = 0; y < size.cy; ++y)
    for (int x = 0; x < size.cx; ++x) {
      const COLORREF one = GetPixel(dc, x, y), other = GetPixel(expected, from.x + x, from.y + y);
      for (int shift = 0; shift < 24; shift += 8) {
        const int off = int(one >> shift & 0xFF) - int(other >> shift & 0xFF);
        largest = std::max(largest, std::abs(off));
        sum += off;
      }
    }
  SelectObject(expected, previousExpected);
  SelectObject(dc, previous);
  DeleteDC(expected);
  DeleteDC(dc);
  return {largest, sum / (3.0 * size.cx * size.cy)};
}

// What each DPI shows, from the design's twips (15 to a pixel at 96 DPI), an
// edge of t twips at d DPI being t * d / 1440 pixels rounded to nearest: the
// client area's size; the heights of 8.25-point Arial on the labels and the
// 8-point dialog font on the buttons, then of 9.75-point Arial in the boxes;
// the big and small icons' sizes; the places in the client area of kPlaced,
// the banner's at 75, 75 twips, its picture's 300 x 63 pixels at 96 DPI scaled
// and a border of one pixel.
const Form1Control kPlaced[] = {Image1, Label1, Text1, Label2, Text2, Command1, Command2, Label3};
// clang-format off
struct AtDpi { int dpi; SIZE client; int font, boxFont, bigIcon, smallIcon; RECT places[8]; };
const AtDpi kAtDpi[] = {
  {96, {314, 294}, 11, 13, 32, 16, {{5, 5, 307, 70}, {16, 93, 92, 116}, {107, 87, 299, 114}, {16, 148, 89, 177},
    {107, 143, 230, 170}, {240, 141, 300, 169}, {99, 246, 217, 274}, {19, 193, 255, 225}}},
  {120, {393, 368}, 14, 16, 40, 20, {{6, 6, 383, 87}, {20, 116, 115, 145}, {134, 109, 374, 143}, {20, 185, 111, 221},
    {134, 179, 288, 213}, {300, 176, 375, 211}, {124, 308, 271, 343}, {24, 241, 319, 281}}},
  {144, {471, 441}, 17, 20, 48, 24, {{8, 8, 460, 105}, {24, 140, 138, 174}, {161, 131, 449, 171}, {24, 222, 134, 266},
    {161, 215, 345, 255}, {360, 212, 450, 254}, {149, 369, 326, 411}, {29, 290, 383, 338}}},
  {168, {550, 515}, 19, 23, 56, 28, {{9, 9, 536, 121}, {28, 163, 161, 203}, {187, 152, 523, 200}, {28, 259, 156, 310},
    {187, 250, 403, 298}, {420, 247, 525, 296}, {173, 431, 380, 480}, {33, 338, 446, 394}}},
  {192, {628, 588}, 22, 26, 64, 32, {{10, 10, 612, 138}, {32, 186, 184, 232}, {214, 174, 598, 228}, {32, 296, 178, 354},
    {214, 286, 460, 340}, {480, 282, 600, 338}, {198, 492, 434, 548}, {38, 386, 510, 450}}}};
// clang-format on

// The banners of a reference picture, below its icons: the name ringed, as a
// name typed shows it, then the plain one, as the start-up shows it.
enum Banner { NameRinged, Plain };

class Form1Layout : public Form1Fixture {
protected:
  // The DPI the suite asked for must be the monitor's, at which Tovix lays
  // itself out, and not only the screen's (GetDeviceCaps): Wine 10 fixes the
  // monitor's when its session starts.
  void SetUp() override {
    screenDpi = workspaceUnderPointer().dpi;
    HDC screen = GetDC(nullptr);
    const int deviceDpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    if (const char* wanted = std::getenv("TOVIX_DPI")) {
      ASSERT_TRUE(screenDpi == std::atoi(wanted) && deviceDpi == screenDpi)
          << "the suite asked for " << wanted << " DPI; the monitor has " << screenDpi << ", GetDeviceCaps says "
          << deviceDpi;
    }
    start();
  }
  HFONT fontOf(Form1Control which) const {
    return reinterpret_cast<HFONT>(SendMessageW(control(which), WM_GETFONT, 0, 0));
  }
  // The window's icons are its class's, at every DPI.
  HICON icon(WPARAM kind) const {
    return reinterpret_cast<HICON>(GetClassLongPtrW(form.hwnd(), kind == ICON_BIG ? GCLP_HICON : GCLP_HICONSM));
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
  void expectLaidOutAt(int dpi, Banner shownBanner);

  int screenDpi = 96;
};

void Form1Layout::expectLaidOutAt(int dpi, Banner shownBanner) {
  const AtDpi* at = std::ranges::find(kAtDpi, dpi, &AtDpi::dpi);
  ASSERT_NE(at, std::end(kAtDpi)) << "no figures for " << dpi << " DPI";
  RedrawWindow(form.hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  // The client area inside the frame Windows draws at that DPI. After a move,
  // Wine keeps drawing the frame at the screen's DPI (Windows redraws it
  // first), so there the window's size is measured.
  RECT frame{0, 0, at->client.cx, at->client.cy}, outer{}, client{};
  using AdjustForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  reinterpret_cast<AdjustForDpi>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")))(
      &frame, static_cast<DWORD>(GetWindowLongW(form.hwnd(), GWL_STYLE)), FALSE, 0, dpi);
  GetWindowRect(form.hwnd(), &outer);
  GetClientRect(form.hwnd(), &client);
  EXPECT_EQ(outer.right - outer.left, frame.right - frame.left) << "at " << dpi;
  EXPECT_EQ(outer.bottom - outer.top, frame.bottom - frame.top) << "at " << dpi;
  EXPECT_TRUE(dpi != screenDpi || (client.right == at->client.cx && client.bottom == at->client.cy))
      << client.right << " x " << client.bottom << " at " << dpi;

  for (size_t i = 1; i < std::size(kPlaced); ++i) {
    const Form1Control which = kPlaced[i];
    const RECT actual = placeInClient(which);
    EXPECT_TRUE(EqualRect(&actual, &at->places[i]) && IsWindowVisible(control(which)))
        << "control " << static_cast<int>(which) << " at " << dpi << ": " << actual.left << "," << actual.top << ","
        << actual.right << "," << actual.bottom;
    LOGFONTW font{};
    GetObjectW(fontOf(which), sizeof font, &font);
    const bool box = which == Text1 || which == Text2, arial = which != Command1 && which != Command2;
    EXPECT_EQ(font.lfHeight, -(box ? at->boxFont : at->font)) << "control " << static_cast<int>(which) << " at " << dpi;
    EXPECT_TRUE(!arial || (std::wstring(font.lfFaceName) == L"Arial" && font.lfWeight == FW_NORMAL && !font.lfItalic &&
                           !font.lfUnderline && !font.lfStrikeOut && font.lfCharSet == ANSI_CHARSET));
  }

  // The banner: at its place, its picture inside a one-pixel border in the
  // colour of window frames, which stands out from the window's face around
  // it, in High Contrast Black too (the suite that sets TOVIX_COLORS starts
  // with that scheme).
  const RECT banner = placeInClient(Image1);
  const SIZE picture{at->places[0].right - at->places[0].left - 2, at->places[0].bottom - at->places[0].top - 2};
  EXPECT_TRUE(EqualRect(&banner, &at->places[0])) << banner.right - banner.left << " x " << banner.bottom - banner.top;
  const COLORREF edge = GetSysColor(COLOR_WINDOWFRAME), face = GetSysColor(COLOR_BTNFACE);
  EXPECT_TRUE(!std::getenv("TOVIX_COLORS") || (edge == RGB(255, 255, 255) && face == RGB(0, 0, 0))) << edge << face;
  EXPECT_NE(edge, face);  // the window's face around the banner: the border stands out
  HDC window = GetDC(control(Image1));
  EXPECT_EQ(GetPixel(window, 0, 0), edge);
  EXPECT_EQ(GetPixel(window, picture.cx + 1, picture.cy + 1), edge);
  EXPECT_NE(GetPixel(window, 1, 1), RGB(0, 0, 0));  // the picture's white pane
  ReleaseDC(control(Image1), window);
  const UniqueBitmap reference(static_cast<HBITMAP>(
      LoadImageW(nullptr, (L"" TOVIX_REFERENCES L"/form1-" + std::to_wstring(dpi) + L".bmp").c_str(), IMAGE_BITMAP, 0,
                 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
  ASSERT_TRUE(reference) << "no reference picture for " << dpi << " DPI in " << TOVIX_REFERENCES;
  // Between 100 % and 200 % it is the picture drawn for 200 % reduced, which
  // stays sharper than the 100 % one enlarged. The reference's JPEG decoder
  // fills in the colours, stored at half resolution, not quite as Wine's does:
  // by up to 21 levels of a channel at the ring's sharp orange edges, by 0.02
  // levels in the mean, while a reduction rounding down moves the mean by 0.15.
  if (dpi > 96 && dpi < 192) {
    const auto shownBitmap = reinterpret_cast<HBITMAP>(shown(Image1));
    const int top = at->bigIcon + shownBanner * picture.cy;
    BITMAP size{};
    GetObjectW(shownBitmap, sizeof size, &size);
    const auto [largest, mean] = difference(shownBitmap, nullptr, picture, reference.get(), {0, top});
    EXPECT_TRUE(size.bmWidth == picture.cx && size.bmHeight == picture.cy && largest <= 22 && std::abs(mean) <= 0.05)
        << "the banner at " << dpi << " DPI: " << size.bmWidth << " x " << size.bmHeight << ", off by up to " << largest
        << ", by " << mean << " in the mean";
  }

  // The window's icons, at the sizes Windows shows at that DPI: the icon
  // file's image of that size (it has 16, 32, 48 and 128 pixels), else the
  // next larger one reduced, which stays sharper than a smaller one enlarged.
  // Windows rounds each pixel drawn over grey, the reference only the mean.
  for (const auto& [kind, size, left] :
       {std::tuple{ICON_BIG, at->bigIcon, 0}, {ICON_SMALL, at->smallIcon, at->bigIcon}})
    EXPECT_LE(difference(nullptr, icon(kind), {size, size}, reference.get(), {left, 0}).first, 1)
        << "icon " << kind << " at " << dpi << " DPI";
}

TEST_F(Form1Layout, OpensLaidOutAtTheScreensDpiCentredWithAFixedFrameAndNoTaskBarButton) {
  expectLaidOutAt(screenDpi, Plain);
  RECT outer{};
  GetWindowRect(form.hwnd(), &outer);
  EXPECT_NEAR((outer.left + outer.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
  EXPECT_NEAR((outer.top + outer.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
  // A caption with Close only, a frame the user cannot resize.
  const auto style = static_cast<DWORD>(GetWindowLongW(form.hwnd(), GWL_STYLE));
  EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
            static_cast<DWORD>(WS_CAPTION | WS_SYSMENU));
  // An owned window, not a tool window, gets no task-bar button; the owner is never shown.
  EXPECT_FALSE(GetWindowLongW(form.hwnd(), GWL_EXSTYLE) & (WS_EX_TOOLWINDOW | WS_EX_APPWINDOW));
  const HWND owner = GetWindow(form.hwnd(), GW_OWNER);
  EXPECT_TRUE(owner != nullptr && !IsWindowVisible(owner));
  // A second form while this one lives finds the window class taken, and gives its window the icons.
  Form1 second;
  second.Load();
  EXPECT_NE(SendMessageW(second.hwnd(), WM_GETICON, ICON_SMALL, 0), 0);
}

// The fonts and icons made for one DPI are freed once those for the next are
// in use: after a move, a handle of those before no longer names one.
TEST_F(Form1Layout, IsLaidOutAgainOnAMonitorOfAnotherDpiKeepingTextsAndFocusFreeingTheOldFontsAndIcons) {
  type(Text1, L"Laura");
  SetFocus(control(Text2));
  for (const int dpi : {screenDpi == 144 ? 96 : 144, screenDpi == 168 ? 144 : 168, screenDpi}) {
    const HGDIOBJ fonts[] = {fontOf(Label1), fontOf(Text1), fontOf(Command1)};
    const HICON icons[] = {icon(ICON_BIG), icon(ICON_SMALL)};
    moveToMonitorOf(dpi);
    expectLaidOutAt(dpi, NameRinged);
    EXPECT_EQ(text(Text1), L"Laura");
    EXPECT_EQ(GetFocus(), control(Text2));
    for (const HGDIOBJ font : fonts) EXPECT_TRUE(font == GetStockObject(DEFAULT_GUI_FONT) || GetObjectType(font) == 0);
    ICONINFO info{};
    for (const HICON old : icons) EXPECT_FALSE(GetIconInfo(old, &info));
  }
}

// Reducing the picture drawn for 200 %: each new pixel is the mean of what it
// covers, so stripes of one pixel become an even grey and a solid area keeps
// its colour. An icon's colours count by their alpha: a transparent pixel's
// colour does not darken its opaque neighbour.
TEST(PictureReduction, AveragesWhatEachNewPixelCovers) {
  const struct {
    std::vector<std::uint32_t> from, to;
    Alpha alpha = Alpha::Averaged;
  } cases[] = {{{0x000000, 0xFFFFFF, 0x000000, 0xFFFFFF}, {0x808080, 0x808080}},
               {{0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000}, {0xFF000000, 0xFF000000, 0xFF000000}},
               {{0x00000000, 0xFF804080}, {0x80804080}, Alpha::Weighting}};
  for (const auto& [from, to, alpha] : cases) {
    EXPECT_EQ(resample({static_cast<int>(from.size()), 1, from}, static_cast<int>(to.size()), 1, alpha).bgra, to);
  }
}

TEST_F(Form1Layout, TabVisitsTheBoxesAndButtonsEnterPressesNoneEscapeDoesNotCloseTheFocusComesBackAltF4Closes) {
  const std::pair<bool, Form1Control> tabs[] = {{false, Text2},   {false, Command1}, {false, Command2}, {false, Text1},
                                                {true, Command2}, {true, Command1},  {true, Text2},     {true, Text1}};
  for (const auto& [shift, next] : tabs) {
    ASSERT_TRUE(send(keyPress(VK_TAB, shift)));
    EXPECT_EQ(GetFocus(), control(next)) << (shift ? "Shift+Tab" : "Tab") << " to control " << static_cast<int>(next);
  }
  EXPECT_TRUE(send(keyPress(VK_RETURN)));
  EXPECT_TRUE(send(keyPress(VK_ESCAPE)));
  ASSERT_TRUE(send(keyPress(VK_TAB)));  // to Text2, whose Enter must not click "Find..." either
  EXPECT_TRUE(send(keyPress(VK_RETURN)));
  // Only the start-up's messages: "Apply changes...", which would report the missing key, did not run.
  EXPECT_EQ(registry.messages(), (Messages{kOpening, kOpening}));
  // Another window made active and then this one again, as the user would:
  // the focus is back on the box that had it.
  HWND other =
      CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 20, 20, 16, 16, nullptr, nullptr, nullptr, nullptr);
  for (const HWND front : {other, form.hwnd()}) {
    const char* awaited = front == other ? "awaited another window active" : "awaited the window, the focus on Text2";
    EXPECT_TRUE(waitFor([&] {
      if (GetForegroundWindow() != front) SetForegroundWindow(front);
      return form.DoEvents() && GetActiveWindow() == front && (front == other || GetFocus() == control(Text2));
    })) << awaited;
  }
  DestroyWindow(other);
  // Alt+F4 closes it: the program's events end.
  EXPECT_FALSE(send({keyInput(VK_MENU), keyInput(VK_F4), keyInput(VK_F4, 0, KEYEVENTF_KEYUP),
                     keyInput(VK_MENU, 0, KEYEVENTF_KEYUP)}));
}

}  // namespace
