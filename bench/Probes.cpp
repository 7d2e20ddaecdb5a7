// Reads another process's memory counters, CPU time, GUI object counts and module list.
#include "Probes.h"

#include <psapi.h>

#include <algorithm>

MemoryUse memoryOf(HANDLE process) {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  MemoryUse use;
  if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters)) {
    use.peakWorkingSet = counters.PeakWorkingSetSize;
    use.workingSet = counters.WorkingSetSize;
    use.privateBytes = counters.PrivateUsage != 0 ? counters.PrivateUsage : counters.PagefileUsage;
  }
  return use;
}

namespace {

ULONGLONG ticks(const FILETIME& time) { return (ULONGLONG{time.dwHighDateTime} << 32) | time.dwLowDateTime; }

}  // namespace

ULONGLONG cpuTimeOf(HANDLE process, HANDLE mainThread) {
  FILETIME created{}, exited{}, kernel{}, user{};
  if (GetProcessTimes(process, &created, &exited, &kernel, &user) && ticks(kernel) + ticks(user) != 0)
    return ticks(kernel) + ticks(user);
  if (GetThreadTimes(mainThread, &created, &exited, &kernel, &user)) return ticks(kernel) + ticks(user);
  return 0;
}

std::optional<GuiObjects> guiObjectsOf(HANDLE process) {
  const GuiObjects objects{GetGuiResources(process, GR_GDIOBJECTS), GetGuiResources(process, GR_USEROBJECTS)};
  if (objects.gdi == 0 && objects.user == 0) return std::nullopt;
  return objects;
}

std::vector<std::wstring> modulesOf(HANDLE process) {
  std::vector<HMODULE> modules(256);
  DWORD bytes = 0;
  if (!EnumProcessModules(process, modules.data(), static_cast<DWORD>(modules.size() * sizeof(HMODULE)), &bytes))
    return {};
  modules.resize(std::min<size_t>(modules.size(), bytes / sizeof(HMODULE)));
  std::vector<std::wstring> names;
  for (HMODULE module : modules) {
    wchar_t name[MAX_PATH] = L"";
    if (GetModuleBaseNameW(process, module, name, MAX_PATH) != 0) names.emplace_back(name);
  }
  return names;
}
