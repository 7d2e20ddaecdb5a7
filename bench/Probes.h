// What the launcher reads of another process: memory, CPU time, GUI objects and loaded modules.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

struct MemoryUse {
  SIZE_T peakWorkingSet = 0;
  SIZE_T workingSet = 0;
  SIZE_T privateBytes = 0;
};
MemoryUse memoryOf(HANDLE process);

// User plus kernel time spent so far, in 100 ns units: the process's, or its
// main thread's where the platform gives no time for another process.
ULONGLONG cpuTimeOf(HANDLE process, HANDLE mainThread);

struct GuiObjects {
  DWORD gdi = 0;
  DWORD user = 0;
};
// Nothing where the platform does not count them for another process.
std::optional<GuiObjects> guiObjectsOf(HANDLE process);

// The file names of the modules loaded in the process, in load order.
std::vector<std::wstring> modulesOf(HANDLE process);
