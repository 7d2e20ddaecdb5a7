// Sends pointer moves with SendInput and waits after each for the target to take it.
#include "PointerMoves.h"

#include <iterator>

namespace {

// A screen pixel in SendInput's absolute units: the middle of the pixel, on
// a 0..65535 scale across the primary screen.
LONG normalised(LONG pixel, int screenSize) {
  return static_cast<LONG>((static_cast<LONGLONG>(2 * pixel + 1) * 65536) / (2LL * screenSize));
}

void sendMove(POINT screen) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = normalised(screen.x, GetSystemMetrics(SM_CXSCREEN));
  input.mi.dy = normalised(screen.y, GetSystemMetrics(SM_CYSCREEN));
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &input, sizeof input);
}

// Returns once the window's thread answers a WM_NULL from its message loop.
// Unpaced, Wine merges the pointer moves still queued into one, and a slower
// program would be given fewer moves to handle. A sent message may overtake
// queued input, so this is no strict barrier, but it keeps the target at most
// a move behind: counted once, every move sent arrived as a message of its own.
bool answers(HWND window) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result) != 0;
}

// Offsets around a spot, each one pixel from the one before, back to the start.
constexpr POINT kWander[] = {{0, 0}, {1, 0}, {2, 0}, {2, 1}, {2, 2}, {1, 2}, {0, 2}, {0, 1}};

}  // namespace

bool movePointer(HWND window, std::span<const POINT> spots, int first, int count, int batch) {
  for (int sent = first; sent < first + count; ++sent) {
    const POINT spot = spots[static_cast<size_t>(sent / batch) % spots.size()];
    const POINT offset = kWander[static_cast<size_t>(sent % batch) % std::size(kWander)];
    POINT screen{spot.x + offset.x, spot.y + offset.y};
    ClientToScreen(window, &screen);
    sendMove(screen);
    if (!answers(window)) return false;
  }
  return true;
}

bool pingWindow(HWND window, int count) {
  for (int i = 0; i < count; ++i)
    if (!answers(window)) return false;
  return true;
}

void parkPointer() { sendMove({0, 0}); }

void bringToFront(HWND window) {
  SetForegroundWindow(window);
  answers(window);
}
