// Test helpers for windows: messages pumped, texts read, the Open dialog answered.
#include "WindowTesting.h"

#include <commctrl.h>

#include <chrono>

void pumpMessages() {
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

std::wstring windowText(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

void pressKey(WORD key, bool shift) {
  std::vector<INPUT> inputs;
  const auto add = [&](WORD k, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = k;
    input.ki.dwFlags = flags;
    inputs.push_back(input);
  };
  if (shift) add(VK_SHIFT, 0);
  add(key, 0);
  add(key, KEYEVENTF_KEYUP);
  if (shift) add(VK_SHIFT, KEYEVENTF_KEYUP);
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  Sleep(50);
}

void movePointer(POINT point) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = MulDiv(point.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = MulDiv(point.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &input, sizeof input);
  Sleep(50);
}

void parkPointer() {
  HWND corner = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 16, 16, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  SetForegroundWindow(corner);
  pumpMessages();
  movePointer({8, 8});
  movePointer({0, 0});
  pumpMessages();
  DestroyWindow(corner);
  pumpMessages();
}

namespace {

BOOL CALLBACK keepDialog(HWND window, LPARAM result) {
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  if (std::wstring(name) != L"#32770" || !IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(result) = window;
  return FALSE;
}

HWND findDialog(DWORD thread) {
  HWND found = nullptr;
  EnumThreadWindows(thread, keepDialog, reinterpret_cast<LPARAM>(&found));
  return found;
}

// The file name box of an Explorer-style Open dialog: a combo box (cmb13),
// or a plain edit box (edt1) in older layouts.
constexpr int kFileNameCombo = 0x47C;
constexpr int kFileNameEdit = 0x480;
constexpr int kFileTypeCombo = 0x470;  // cmb1

}  // namespace

OpenDialogAnswer::OpenDialogAnswer(DWORD uiThread, std::optional<std::wstring> path, std::wstring lookIn) {
  thread_ = std::thread([this, uiThread, path, lookIn] {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    HWND dialog = nullptr;
    while (dialog == nullptr && std::chrono::steady_clock::now() < deadline) {
      Sleep(50);
      dialog = findDialog(uiThread);
    }
    if (dialog == nullptr) return;
    // What the dialog shows, in the folder asked for: the file type chosen,
    // and the names in its list once the list is filled; a new folder gets a new list.
    const auto names = [dialog] {
      const HWND list = FindWindowExW(FindWindowExW(dialog, nullptr, L"SHELLDLL_DefView", nullptr), nullptr,
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
    };
    const std::vector<std::wstring> before = names();
    if (!lookIn.empty()) {
      SetDlgItemTextW(dialog, GetDlgItem(dialog, kFileNameCombo) != nullptr ? kFileNameCombo : kFileNameEdit,
                      lookIn.c_str());
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    }
    for (int wait = 0; wait < 40 && (listed_.empty() || (!lookIn.empty() && listed_ == before)); ++wait) {
      Sleep(50);
      listed_ = names();
    }
    wchar_t type[64] = L"";
    GetDlgItemTextW(dialog, kFileTypeCombo, type, 64);
    fileType_ = type;
    if (path) {
      const int box = GetDlgItem(dialog, kFileNameCombo) != nullptr ? kFileNameCombo : kFileNameEdit;
      SetDlgItemTextW(dialog, box, path->c_str());
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    } else {
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
    answered_ = true;
  });
}

OpenDialogAnswer::~OpenDialogAnswer() {
  if (thread_.joinable()) thread_.join();
}

OpenDialogAnswer::Shown OpenDialogAnswer::shown() {
  if (thread_.joinable()) thread_.join();
  return {fileType_, listed_};
}

MessageBoxAnswers::MessageBoxAnswers(DWORD uiThread, int count) {
  thread_ = std::thread([this, uiThread, count] {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    for (int answered = 0; answered < count && std::chrono::steady_clock::now() < deadline;) {
      const HWND box = findDialog(uiThread);
      if (box == nullptr) {
        Sleep(20);
        continue;
      }
      constexpr int kMessageText = 0xFFFF;  // the box's static text control
      const HWND owner = GetWindow(box, GW_OWNER);
      seen_.push_back({windowText(box), windowText(GetDlgItem(box, kMessageText)), owner,
                       owner != nullptr && IsWindowEnabled(owner) != FALSE});
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
      while (IsWindow(box) && std::chrono::steady_clock::now() < deadline) Sleep(10);
      ++answered;
    }
  });
}

MessageBoxAnswers::~MessageBoxAnswers() {
  if (thread_.joinable()) thread_.join();
}

const std::vector<MessageBoxAnswers::Seen>& MessageBoxAnswers::seen() {
  if (thread_.joinable()) thread_.join();
  return seen_;
}

std::wstring makeTempFile(const std::wstring& relativePath) {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  std::wstring path = temp + relativePath;
  for (size_t slash = path.find(L'\\', 3); slash != std::wstring::npos; slash = path.find(L'\\', slash + 1)) {
    CreateDirectoryW(path.substr(0, slash).c_str(), nullptr);
  }
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  CloseHandle(file);
  return path;
}
