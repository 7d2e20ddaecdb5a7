// Test helpers for windows: texts read, real input sent, dialogs answered, files made.
#include "WindowTesting.h"

#include <commctrl.h>

#include <chrono>

std::wstring windowText(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

namespace {

void send(std::vector<INPUT> inputs) {
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  Sleep(50);
}

INPUT key(WORD virtualKey, WORD unit, DWORD flags) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki = {virtualKey, unit, flags, 0, 0};
  return input;
}

}  // namespace

void pressKey(WORD virtualKey, bool shift) {
  std::vector<INPUT> keys{key(virtualKey, 0, 0), key(virtualKey, 0, KEYEVENTF_KEYUP)};
  if (shift) {
    keys.insert(keys.begin(), key(VK_SHIFT, 0, 0));
    keys.push_back(key(VK_SHIFT, 0, KEYEVENTF_KEYUP));
  }
  send(keys);
}

void typeText(const std::wstring& text) {
  std::vector<INPUT> keys;
  for (const wchar_t unit : text) {
    keys.push_back(key(0, unit, KEYEVENTF_UNICODE));
    keys.push_back(key(0, unit, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP));
  }
  send(keys);
}

void movePointer(POINT point) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = MulDiv(point.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = MulDiv(point.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  send({input});
}

void parkPointer() {
  const auto pump = [] {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  };
  HWND corner = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 16, 16, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  SetForegroundWindow(corner);
  pump();
  movePointer({8, 8});
  movePointer({0, 0});
  pump();
  DestroyWindow(corner);
  pump();
}

namespace {

BOOL CALLBACK keepDialog(HWND window, LPARAM found) {
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  if (std::wstring(name) != L"#32770" || !IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

// Waits up to 20 s for the condition; false if it never held.
template <typename Condition>
bool waitFor(Condition condition, int milliseconds = 20000) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    Sleep(20);
  }
  return true;
}

// The file name box of an Explorer-style Open dialog (a combo box, cmb13, or
// an edit box, edt1, in older layouts) and its file type box (cmb1).
constexpr int kFileNameCombo = 0x47C, kFileNameEdit = 0x480, kFileTypeCombo = 0x470;

std::vector<std::wstring> names(HWND openDialog) {
  // The list is made again for each folder.
  const HWND list = FindWindowExW(FindWindowExW(openDialog, nullptr, L"SHELLDLL_DefView", nullptr), nullptr,
                                  L"SysListView32", nullptr);
  std::vector<std::wstring> names;
  for (int item = 0; item < SendMessageW(list, LVM_GETITEMCOUNT, 0, 0); ++item) {
    wchar_t name[MAX_PATH] = L"";
    LVITEMW text{};
    text.pszText = name;
    text.cchTextMax = MAX_PATH;
    SendMessageW(list, LVM_GETITEMTEXTW, item, reinterpret_cast<LPARAM>(&text));
    names.push_back(name);
  }
  return names;
}

}  // namespace

DialogAnswers::DialogAnswers(DWORD uiThread, int count, std::function<void(HWND dialog)> answer) {
  thread_ = std::thread([=] {
    for (int answered = 0; answered < count; ++answered) {
      HWND dialog = nullptr;
      const auto found = [&] {
        EnumThreadWindows(uiThread, keepDialog, reinterpret_cast<LPARAM>(&dialog));
        return dialog != nullptr;
      };
      if (!waitFor(found)) return;
      answer(dialog);
      waitFor([&] { return !IsWindow(dialog); });
    }
  });
}

void DialogAnswers::wait() {
  if (thread_.joinable()) thread_.join();
}

void pressButton(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void choose(HWND openDialog, const std::wstring& path) {
  SetDlgItemTextW(openDialog, GetDlgItem(openDialog, kFileNameCombo) ? kFileNameCombo : kFileNameEdit, path.c_str());
  pressButton(openDialog, IDOK);
}

std::vector<std::wstring> listedIn(HWND openDialog, const std::wstring& folder) {
  waitFor([&] { return !names(openDialog).empty(); }, 2000);
  const std::vector<std::wstring> before = names(openDialog);
  choose(openDialog, folder);  // a folder's path opens the folder
  std::vector<std::wstring> listed;
  waitFor([&] { return !(listed = names(openDialog)).empty() && listed != before; }, 2000);
  return listed;
}

std::wstring fileTypeOf(HWND openDialog) {
  wchar_t type[64] = L"";
  GetDlgItemTextW(openDialog, kFileTypeCombo, type, 64);
  return type;
}

std::wstring makeTempFile(const std::wstring& relativePath) {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  std::wstring path = temp + relativePath;
  for (size_t slash = path.find(L'\\', 3); slash != std::wstring::npos; slash = path.find(L'\\', slash + 1)) {
    CreateDirectoryW(path.substr(0, slash).c_str(), nullptr);
  }
  CloseHandle(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  return path;
}
