// The cost of pointer moves over the target's window: its CPU and wall time a move, and what it keeps.
#pragma once

#include "Probes.h"
#include "Target.h"

#include <optional>

struct MoveCost {
  double cpuUsPerMove = 0;
  double wallUsPerMove = 0;
  double pacingCpuUs = 0;
  double pacingWallUs = 0;
  MemoryUse before, after;
  std::optional<GuiObjects> guiBefore, guiAfter;
};

// Moves the pointer `moves` times over the window, in batches of `batch`
// moves around one spot. Nothing if a spot misses what it should be over or
// the window stops answering; `error` then says which.
std::optional<MoveCost> measureMoveCost(const Target& target, int moves, int batch, const char*& error);
