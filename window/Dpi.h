// The DPI a window is laid out at, and the measures that depend on it. Windows
// 10 gives each monitor its own DPI; older systems have one for the whole
// screen, and there these answer with it.
#pragma once

#include "Handles.h"

// The DPI of a screen that is not scaled: a pixel is 15 twips.
inline constexpr int kUnscaledDpi = 96;

// The monitor where the user is working, the one under the pointer: its work
// area (the screen less the task bar) and its DPI.
struct Workspace {
  RECT workArea;
  int dpi;
};
Workspace workspaceUnderPointer();

// Lets Windows scale a top-level window's frame and title bar with its
// monitor's DPI, as it does by itself for programs aware of per-monitor DPI
// in its second version; Windows 10 1607 knows only the first. Called while
// the window is being created (WM_NCCREATE).
void scaleFrameWithDpi(HWND window);

// The window's outer size for a client area of the given size, with the frame
// and title bar that Windows draws at that DPI.
SIZE outerSize(SIZE client, DWORD style, int dpi);

// A system measure (SM_CXICON and the like) at that DPI.
int systemMetric(int index, int dpi);

// The platform's default dialog font, made for the screen's DPI.
HFONT stockDialogFont();
// The default dialog font scaled to another DPI; none at the screen's own,
// where the stock font is the one.
UniqueFont scaledDialogFont(int dpi);
