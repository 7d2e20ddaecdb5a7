// The program under measure: started, found on screen, and closed by the launcher.
#pragma once

#include "Handles.h"

#include <string>

struct Target {
  UniqueHandle process;
  UniqueHandle thread;
  DWORD processId = 0;
  HWND window = nullptr;
};

// Starts the program; false if it could not be started.
bool startTarget(const std::wstring& program, Target& target);

// The process's visible top-level window, or null while it has none.
HWND visibleWindowOf(DWORD processId);

// Waits until the process shows a visible top-level window, up to timeoutMs.
bool waitForWindow(Target& target, DWORD timeoutMs);

// Asks the window to close and waits for the process to end; its exit code,
// or nothing when it did not end in time (then it is ended by its handle).
bool closeTarget(Target& target, DWORD timeoutMs, DWORD& exitCode);
