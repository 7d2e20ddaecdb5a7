// Starting, finding and closing the program under measure.
#include "Target.h"

#include <vector>

bool startTarget(const std::wstring& program, Target& target) {
  std::vector<wchar_t> commandLine;
  const std::wstring quoted = L"\"" + program + L"\"";
  commandLine.assign(quoted.begin(), quoted.end());
  commandLine.push_back(L'\0');
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION created{};
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &created))
    return false;
  target.process.reset(created.hProcess);
  target.thread.reset(created.hThread);
  target.processId = created.dwProcessId;
  return true;
}

namespace {

struct Search {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK visitWindow(HWND window, LPARAM searchAddress) {
  auto* search = reinterpret_cast<Search*>(searchAddress);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

HWND visibleWindowOf(DWORD processId) {
  Search search{processId, nullptr};
  EnumWindows(visitWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool waitForWindow(Target& target, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    target.window = visibleWindowOf(target.processId);
    if (target.window != nullptr) return true;
    if (GetTickCount64() >= deadline || WaitForSingleObject(target.process.get(), 1) == WAIT_OBJECT_0) return false;
  }
}

bool closeTarget(Target& target, DWORD timeoutMs, DWORD& exitCode) {
  if (target.window != nullptr) PostMessageW(target.window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(target.process.get(), timeoutMs) != WAIT_OBJECT_0) {
    TerminateProcess(target.process.get(), 99);
    WaitForSingleObject(target.process.get(), 5000);
    return false;
  }
  return GetExitCodeProcess(target.process.get(), &exitCode) != FALSE;
}
