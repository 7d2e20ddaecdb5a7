// Measures pointer moves over the target's window, net of the round trips that pace them.
#include "MoveCost.h"

#include "Clock.h"
#include "PointerMoves.h"

#include <algorithm>
#include <array>
#include <cwchar>
#include <iterator>

namespace {

// Where the pointer wanders, in client pixels at 96 DPI, scaled with the
// screen's: over the name box, bare window, the icon box, bare window; the
// same places in Tovix and in the floor program. A batch wanders up to two
// pixels right and down of its spot.
constexpr POINT kSpots[] = {{200, 100}, {20, 130}, {160, 156}, {160, 235}};
constexpr bool kOverBox[] = {true, false, true, false};
constexpr int kWanderReach = 2;
constexpr int kMovesAStretch = 1000;  // about 0.2 s of round trips and 0.5 s of moves

bool hitsExpected(HWND window, POINT client, bool overBox) {
  HWND hit = ChildWindowFromPointEx(window, client, CWP_SKIPINVISIBLE);
  if (hit == nullptr) return false;
  if (!overBox) return hit == window;
  wchar_t className[32] = L"";
  GetClassNameW(hit, className, 32);
  return _wcsicmp(className, L"Edit") == 0;
}

// The spots at the screen's DPI. The launcher is aware of the DPI, so it
// sees the same pixels as the programs it measures, which are too.
std::array<POINT, std::size(kSpots)> spotsAtScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  std::array<POINT, std::size(kSpots)> spots{};
  for (size_t i = 0; i < spots.size(); ++i) spots[i] = {MulDiv(kSpots[i].x, dpi, 96), MulDiv(kSpots[i].y, dpi, 96)};
  return spots;
}

// Every spot, and the far corner of its wander, lies over what it should:
// an edit box, or the bare window.
bool spotsHit(HWND window, std::span<const POINT> spots) {
  for (size_t i = 0; i < spots.size(); ++i) {
    const POINT corner{spots[i].x + kWanderReach, spots[i].y + kWanderReach};
    if (!hitsExpected(window, spots[i], kOverBox[i]) || !hitsExpected(window, corner, kOverBox[i])) return false;
  }
  return true;
}

// Wall and CPU time spent on one kind of work, summed over its stretches.
struct Span {
  double wallMs = 0;
  ULONGLONG cpu = 0;
};

// Runs work, adding its wall time and the target's CPU time to span.
template <typename Work>
bool timed(const Target& target, Span& span, Work work) {
  const ULONGLONG cpuBefore = cpuTimeOf(target.process.get(), target.thread.get());
  const double wallBefore = nowMs();
  const bool done = work();
  span.wallMs += nowMs() - wallBefore;
  span.cpu += cpuTimeOf(target.process.get(), target.thread.get()) - cpuBefore;
  return done;
}

}  // namespace

std::optional<MoveCost> measureMoveCost(const Target& target, int moves, int batch, const char*& error) {
  bringToFront(target.window);
  const auto spots = spotsAtScreenDpi();
  if (!spotsHit(target.window, spots)) {
    error = "spots-miss";
    return std::nullopt;
  }
  error = "not-answering";
  // One untimed round over every spot first: the first visit of each loads
  // its cursor and the like, which is not the cost of a move.
  if (!movePointer(target.window, spots, 0, static_cast<int>(spots.size()) * batch, batch)) return std::nullopt;

  MoveCost cost;
  cost.before = memoryOf(target.process.get());
  cost.guiBefore = guiObjectsOf(target.process.get());
  // The moves, and as many WM_NULL round trips alone, in alternating stretches
  // of 1000: whatever slows the machine for a while slows both alike,
  // and the round trips' cost is then subtracted from the moves'. Longer
  // stretches would let slow changes in; shorter ones, read in 10 ms CPU
  // ticks at each end, add rounding noise.
  Span moving, pacing;
  for (int first = 0; first < moves; first += kMovesAStretch) {
    const int count = std::min(kMovesAStretch, moves - first);
    if (!timed(target, moving, [&] { return movePointer(target.window, spots, first, count, batch); }) ||
        !timed(target, pacing, [&] { return pingWindow(target.window, count); }))
      return std::nullopt;
  }
  cost.after = memoryOf(target.process.get());
  cost.guiAfter = guiObjectsOf(target.process.get());

  // CPU times come in 100 ns units.
  const double perMove = 1.0 / moves;
  cost.cpuUsPerMove = (static_cast<double>(moving.cpu) - static_cast<double>(pacing.cpu)) / 10.0 * perMove;
  cost.wallUsPerMove = (moving.wallMs - pacing.wallMs) * 1000.0 * perMove;
  cost.pacingCpuUs = static_cast<double>(pacing.cpu) / 10.0 * perMove;
  cost.pacingWallUs = pacing.wallMs * 1000.0 * perMove;
  return cost;
}
