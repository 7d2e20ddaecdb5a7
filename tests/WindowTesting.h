// Test helpers for windows: texts read, real input sent, dialogs answered, files made.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

inline std::wstring windowText(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

// Waits up to 20 s, or as long as asked, for the condition; false if it never held.
template <typename Condition>
bool waitFor(Condition condition, int milliseconds = 20000) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  for (; !condition(); Sleep(20))
    if (std::chrono::steady_clock::now() > deadline) return false;
  return true;
}

// Real input: keys and pointer moves go through the platform's input queue as
// the keyboard's and mouse's would. Hooks on this thread's keyboard and mouse
// messages tell when the thread has taken them from its queue.
struct InputSeen {
  static inline thread_local int keysUp = 0;
  static inline thread_local POINT move{-1, -1};
  static LRESULT CALLBACK keyboard(int code, WPARAM key, LPARAM flags) {
    if (code == HC_ACTION && (flags & 0x80000000)) ++keysUp;
    return CallNextHookEx(nullptr, code, key, flags);
  }
  static LRESULT CALLBACK mouse(int code, WPARAM message, LPARAM info) {
    if (code == HC_ACTION && message == WM_MOUSEMOVE) move = reinterpret_cast<const MOUSEHOOKSTRUCT*>(info)->pt;
    return CallNextHookEx(nullptr, code, message, info);
  }
};

// Sends the input, then runs `pump` (which handles the messages waiting) until
// this thread has taken every key release and the last pointer move from its
// queue, and once more for what they caused: no sleep guesses how long that takes.
template <typename Pump>
void deliver(std::vector<INPUT> inputs, Pump pump) {
  HHOOK keyboard = SetWindowsHookExW(WH_KEYBOARD, InputSeen::keyboard, nullptr, GetCurrentThreadId()),
        mouse = SetWindowsHookExW(WH_MOUSE, InputSeen::mouse, nullptr, GetCurrentThreadId());
  InputSeen::keysUp = 0;
  InputSeen::move = {-1, -1};
  const auto keysUp = std::ranges::count_if(
      inputs, [](const INPUT& input) { return input.type == INPUT_KEYBOARD && (input.ki.dwFlags & KEYEVENTF_KEYUP); });
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  POINT pointer{};
  GetCursorPos(&pointer);
  const bool moves = inputs.back().type == INPUT_MOUSE;
  const bool taken = waitFor([&] {
    pump();
    return InputSeen::keysUp >= keysUp &&
           (!moves || (InputSeen::move.x == pointer.x && InputSeen::move.y == pointer.y));
  });
  pump();
  UnhookWindowsHookEx(keyboard);
  UnhookWindowsHookEx(mouse);
  EXPECT_TRUE(taken) << "awaited the window's thread taking the input: " << InputSeen::keysUp << " of " << keysUp
                     << " keys released, the pointer at " << pointer.x << "," << pointer.y << " or not moving";
}

inline INPUT keyInput(WORD virtualKey, WORD unit = 0, DWORD flags = 0) {
  return {.type = INPUT_KEYBOARD, .ki = {virtualKey, unit, flags, 0, 0}};
}

// A key pressed and released, Shift held if asked.
inline std::vector<INPUT> keyPress(WORD key, bool shift = false) {
  std::vector<INPUT> keys{keyInput(key), keyInput(key, 0, KEYEVENTF_KEYUP)};
  if (shift) keys = {keyInput(VK_SHIFT), keys[0], keys[1], keyInput(VK_SHIFT, 0, KEYEVENTF_KEYUP)};
  return keys;
}

// A text typed, each UTF-16 unit as itself.
inline std::vector<INPUT> typing(const std::wstring& text) {
  std::vector<INPUT> keys;
  for (const wchar_t unit : text) {
    keys.push_back(keyInput(0, unit, KEYEVENTF_UNICODE));
    keys.push_back(keyInput(0, unit, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP));
  }
  return keys;
}

// The pointer moved to a point of the screen, from the pixel beside it, so
// that it moves even where it rests there already.
inline std::vector<INPUT> pointerTo(POINT point) {
  const auto at = [](LONG x, LONG y) {
    return INPUT{
        .type = INPUT_MOUSE,
        .mi = {MulDiv(x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1), MulDiv(y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1),
               0, MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, 0, 0}};
  };
  return {at(point.x + 1, point.y), at(point.x, point.y)};
}

// Moves the pointer to the screen's top-left corner, away from where windows
// appear. Wine learns where the pointer is only from input over one of its
// windows, so a small window that answers hit tests is put there for the move.
inline void parkPointer() {
  HWND corner = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE | SS_NOTIFY, 0, 0, 16, 16, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
  SetForegroundWindow(corner);
  deliver(pointerTo({0, 0}), [] {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  });
  DestroyWindow(corner);
}

// Answers the next `count` dialog boxes that windows of the given thread show,
// one after the other, from a thread of its own, joined when it goes: `answer`
// reads what it needs and presses a button.
inline std::jthread answerDialogs(DWORD uiThread, int count, std::function<void(HWND dialog)> answer) {
  return std::jthread([=] {
    for (int answered = 0; answered < count; ++answered) {
      HWND dialog = nullptr;
      if (!waitFor([&] {
            dialog = FindWindowExW(nullptr, nullptr, L"#32770", nullptr);
            return dialog && IsWindowVisible(dialog) && GetWindowThreadProcessId(dialog, nullptr) == uiThread;
          }))
        return;
      answer(dialog);
      waitFor([&] { return !IsWindow(dialog); });
    }
  });
}

inline void pressButton(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// Types a path into an Open dialog's file name box, a combo box (cmb13) or,
// in older layouts, an edit box (edt1), and presses Open.
inline void choose(HWND openDialog, const std::wstring& path) {
  SetDlgItemTextW(openDialog, GetDlgItem(openDialog, 0x47C) ? 0x47C : 0x480, path.c_str());
  pressButton(openDialog, IDOK);
}
