// Test helpers for windows: texts read, real input sent, dialogs answered, files made.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

inline std::wstring windowText(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

// Sends keys and pointer moves as the keyboard and mouse would, through the
// platform's input queue.
inline void sendInput(std::vector<INPUT> inputs) {
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  Sleep(50);
}

inline INPUT keyInput(WORD virtualKey, WORD unit = 0, DWORD flags = 0) {
  return {.type = INPUT_KEYBOARD, .ki = {virtualKey, unit, flags, 0, 0}};
}

// Presses and releases a key, Shift held if asked.
inline void pressKey(WORD key, bool shift = false) {
  std::vector<INPUT> keys{keyInput(key), keyInput(key, 0, KEYEVENTF_KEYUP)};
  if (shift) keys = {keyInput(VK_SHIFT), keys[0], keys[1], keyInput(VK_SHIFT, 0, KEYEVENTF_KEYUP)};
  sendInput(keys);
}

// Types a text, each UTF-16 unit as itself.
inline void typeText(const std::wstring& text) {
  std::vector<INPUT> keys;
  for (const wchar_t unit : text) {
    keys.push_back(keyInput(0, unit, KEYEVENTF_UNICODE));
    keys.push_back(keyInput(0, unit, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP));
  }
  sendInput(keys);
}

// Moves the pointer to a point of the screen.
inline void movePointer(POINT point) {
  sendInput({{.type = INPUT_MOUSE,
              .mi = {MulDiv(point.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1),
                     MulDiv(point.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1), 0,
                     MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, 0, 0}}});
}

// Moves the pointer to the screen's top-left corner, away from where windows
// appear. Wine learns where the pointer is only from input over one of its
// windows, so a small window is put there for the move.
inline void parkPointer() {
  MSG message{};
  HWND corner = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 16, 16, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  SetForegroundWindow(corner);
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  movePointer({8, 8});
  movePointer({0, 0});
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  DestroyWindow(corner);
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

// Waits up to 20 s, or as long as asked, for the condition; false if it never held.
template <typename Condition>
bool waitFor(Condition condition, int milliseconds = 20000) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  for (; !condition(); Sleep(20))
    if (std::chrono::steady_clock::now() > deadline) return false;
  return true;
}

// Answers the next `count` dialog boxes that windows of the given thread show,
// one after the other, from a thread of its own: `answer` reads what it needs
// and presses a button. Finished when the object goes, or at wait().
class DialogAnswers {
public:
  DialogAnswers(DWORD uiThread, int count, std::function<void(HWND dialog)> answer)
      : thread_([=] {
          for (int answered = 0; answered < count; ++answered) {
            HWND dialog = nullptr;
            const auto shown = [&] {
              dialog = FindWindowExW(nullptr, nullptr, L"#32770", nullptr);
              return dialog && IsWindowVisible(dialog) && GetWindowThreadProcessId(dialog, nullptr) == uiThread;
            };
            if (!waitFor(shown)) return;
            answer(dialog);
            waitFor([&] { return !IsWindow(dialog); });
          }
        }) {}
  ~DialogAnswers() { wait(); }
  void wait() {
    if (thread_.joinable()) thread_.join();
  }

private:
  std::thread thread_;
};

inline void pressButton(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// Types a path into an Open dialog's file name box, a combo box (cmb13) or,
// in older layouts, an edit box (edt1), and presses Open.
inline void choose(HWND openDialog, const std::wstring& path) {
  SetDlgItemTextW(openDialog, GetDlgItem(openDialog, 0x47C) ? 0x47C : 0x480, path.c_str());
  pressButton(openDialog, IDOK);
}

// Takes an Open dialog to a folder (its path typed as a file name opens it)
// and gives the names its file list then holds, once filled; the list is made
// again for each folder.
inline std::vector<std::wstring> listedIn(HWND openDialog, const std::wstring& folder) {
  const auto listed = [openDialog] {
    const HWND list = FindWindowExW(FindWindowExW(openDialog, nullptr, L"SHELLDLL_DefView", nullptr), nullptr,
                                    L"SysListView32", nullptr);
    std::vector<std::wstring> names(static_cast<size_t>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)));
    for (size_t item = 0; item < names.size(); ++item) {
      wchar_t name[MAX_PATH] = L"";
      LVITEMW text{};
      text.pszText = name;
      text.cchTextMax = MAX_PATH;
      SendMessageW(list, LVM_GETITEMTEXTW, item, reinterpret_cast<LPARAM>(&text));
      names[item] = name;
    }
    return names;
  };
  waitFor([&] { return !listed().empty(); }, 2000);
  const std::vector<std::wstring> before = listed();
  choose(openDialog, folder);
  std::vector<std::wstring> names;
  waitFor([&] { return !(names = listed()).empty() && names != before; }, 2000);
  return names;
}

// A file of the test's own under the Wine prefix's temporary folder, with
// the folders on its path made as needed.
inline std::wstring makeTempFile(const std::wstring& relativePath) {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::filesystem::path path = temp + relativePath;
  std::filesystem::create_directories(path.parent_path());
  CloseHandle(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  return path.wstring();
}
