// BenchLauncher: starts one program, measures its start-up, memory, pointer-move cost and exit, and prints one line.
#include "Clock.h"
#include "MoveCost.h"
#include "PointerMoves.h"
#include "Probes.h"
#include "Target.h"

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

constexpr DWORD kTimeoutMs = 20000;

struct Options {
  std::wstring name;
  std::wstring program;
  int moves = 10000;  // none: start-up and memory only
  int batch = 50;
  bool modules = false;
};

bool parse(int argc, wchar_t** argv, Options& options) {
  if (argc < 3) return false;
  options.name = argv[1];
  options.program = argv[2];
  for (int i = 3; i < argc; ++i) {
    const std::wstring argument = argv[i];
    if (argument.starts_with(L"--moves="))
      options.moves = _wtoi(argument.c_str() + 8);
    else if (argument.starts_with(L"--batch="))
      options.batch = _wtoi(argument.c_str() + 8);
    else if (argument == L"--modules")
      options.modules = true;
    else
      return false;
  }
  return options.moves >= 0 && options.batch > 0;
}

struct Startup {
  double toIdleMs = 0;    // until the process waits for input, idle after its first paint
  double toWindowMs = 0;  // until, besides, a visible top-level window of it is found
  double cpuMs = 0;
  MemoryUse memory;
  std::optional<GuiObjects> gui;
};

// Starts the program and waits until it is shown and idle; false if it is not within the timeout.
bool startUp(const Options& options, Target& target, Startup& startup) {
  parkPointer();
  const double start = nowMs();
  if (!startTarget(options.program, target)) return false;
  if (WaitForInputIdle(target.process.get(), kTimeoutMs) != 0) return false;
  startup.toIdleMs = nowMs() - start;
  if (!waitForWindow(target, kTimeoutMs)) return false;
  startup.toWindowMs = nowMs() - start;
  startup.cpuMs = static_cast<double>(cpuTimeOf(target.process.get(), target.thread.get())) / 10000.0;
  startup.memory = memoryOf(target.process.get());
  startup.gui = guiObjectsOf(target.process.get());
  return true;
}

double kb(SIZE_T bytes) { return static_cast<double>(bytes) / 1024.0; }

void printGui(const char* key, const std::optional<GuiObjects>& objects) {
  if (objects)
    std::printf(" %s_gdi=%lu %s_user=%lu", key, objects->gdi, key, objects->user);
  else
    std::printf(" %s_gdi=n/a %s_user=n/a", key, key);
}

void printMoves(const MoveCost& cost, int moves) {
  std::printf(" cpu_us_per_move=%.1f wall_us_per_move=%.1f pacing_cpu_us=%.1f pacing_wall_us=%.1f moves=%d",
              cost.cpuUsPerMove, cost.wallUsPerMove, cost.pacingCpuUs, cost.pacingWallUs, moves);
  std::printf(" ws_growth_kb=%.0f private_growth_kb=%.0f", kb(cost.after.workingSet) - kb(cost.before.workingSet),
              kb(cost.after.privateBytes) - kb(cost.before.privateBytes));
  if (cost.guiBefore && cost.guiAfter)
    std::printf(" gdi_growth=%ld user_growth=%ld",
                static_cast<long>(cost.guiAfter->gdi) - static_cast<long>(cost.guiBefore->gdi),
                static_cast<long>(cost.guiAfter->user) - static_cast<long>(cost.guiBefore->user));
  else
    std::printf(" gdi_growth=n/a user_growth=n/a");
}

int fail(const Options& options, Target& target, const char* what) {
  DWORD exitCode = 0;
  if (target.process.get() != nullptr) closeTarget(target, 5000, exitCode);
  std::printf("%ls error=%s\n", options.name.c_str(), what);
  return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  // Aware of the DPI, as the programs it measures are: it sees their pixels
  // unscaled, and where the pointer goes is where it means.
  SetProcessDPIAware();
  Options options;
  if (!parse(argc, argv, options)) {
    std::fprintf(stderr, "usage: BenchLauncher NAME PROGRAM [--moves=N] [--batch=N] [--modules]\n");
    return 2;
  }

  Target target;
  Startup startup;
  if (!startUp(options, target, startup)) return fail(options, target, "start-up");
  if (options.modules)
    for (const std::wstring& module : modulesOf(target.process.get()))
      std::printf("%ls module %ls\n", options.name.c_str(), module.c_str());

  std::optional<MoveCost> moves;
  if (options.moves > 0) {
    const char* error = "";
    moves = measureMoveCost(target, options.moves, options.batch, error);
    if (!moves) return fail(options, target, error);
  }

  // Exit: from asking the window to close until the process has ended.
  DWORD exitCode = 0;
  const double closing = nowMs();
  if (!closeTarget(target, kTimeoutMs, exitCode)) return fail(options, target, "no-exit");
  const double exitMs = nowMs() - closing;

  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  std::printf(
      "%ls dpi=%d startup_ms=%.1f idle_ms=%.1f exit_ms=%.1f startup_cpu_ms=%.0f peak_ws_kb=%.0f private_kb=%.0f",
      options.name.c_str(), dpi, startup.toWindowMs, startup.toIdleMs, exitMs, startup.cpuMs,
      kb(startup.memory.peakWorkingSet), kb(startup.memory.privateBytes));
  printGui("idle", startup.gui);
  if (moves) printMoves(*moves, options.moves);
  std::printf(" exit=%lu\n", exitCode);
  return exitCode == 0 ? 0 : 1;
}
