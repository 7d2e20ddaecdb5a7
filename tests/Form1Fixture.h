// A Form1 under test: the zone key of its own prefix, failure messages kept
// instead of shown, and the window's controls at hand through Win32.
#pragma once

#include "Form1.h"
#include "TestRegistry.h"
#include "WindowTesting.h"

#include <gtest/gtest.h>

using enum Form1Control;

inline const std::wstring kZoneKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Lockdown_Zones\\0";

class Form1Fixture : public testing::Test {
protected:
  HWND control(Form1Control which) const { return GetDlgItem(form.hwnd(), controlId(which)); }
  std::wstring text(Form1Control which) const { return windowText(control(which)); }
  // Replaces a box's text as typing over all of it would.
  void type(Form1Control box, const std::wstring& text) {
    SendMessageW(control(box), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  void click(Form1Control button) {
    SendMessageW(control(button), BM_CLICK, 0, 0);
    form.DoEvents();
  }
  // Sends keys or pointer moves and lets the form handle them; false if that closed the window.
  bool send(std::vector<INPUT> input) {
    bool open = true;
    deliver(std::move(input), [&] { open = form.DoEvents() && open; });
    return open;
  }
  // Moves the pointer to a point of a control's client area.
  void pointAt(Form1Control which, POINT point = {4, 4}) {
    ClientToScreen(control(which), &point);
    send(pointerTo(point));
  }
  // Loads and shows the window, the pointer resting away from it (a window
  // that appears under the pointer gets a mouse move at once), and waits until
  // it is in front and painted.
  void start() {
    parkPointer();
    form.Load();
    form.Show();
    SetForegroundWindow(form.hwnd());
    EXPECT_TRUE(waitFor([&] { return form.DoEvents() && GetForegroundWindow() == form.hwnd(); }))
        << "awaited the window in front";
    RedrawWindow(form.hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  }
  void storeBothValues() {
    zone.create();
    zone.setWide(L"DisplayName", L"Laura");
    zone.setWide(L"Icon", L"explorer.exe#0100");
  }
  // The bitmap an image control shows at the window's DPI: the banner's, or
  // that of a stored picture (the name ringed, the icon ringed, the plain
  // scene), which has no window.
  LRESULT shown(Form1Control image) const {
    const int drawn = image == Image2 ? IDP_BANNER_NAME : image == Image3 ? IDP_BANNER_ICON : IDP_BANNER_PLAIN;
    if (image != Image1) return reinterpret_cast<LRESULT>(Picture::fromResource(drawn)->bitmap(form.dotsPerInch()));
    return SendMessageW(control(image), STM_GETIMAGE, IMAGE_BITMAP, 0);
  }
  RECT placeInClient(Form1Control which) const {
    RECT place{};
    GetWindowRect(control(which), &place);
    MapWindowPoints(nullptr, form.hwnd(), reinterpret_cast<POINT*>(&place), 2);
    return place;
  }

  ScratchKey zone{kZoneKey, false};
  RecordingRegistry registry;
  Form1 form;
};
