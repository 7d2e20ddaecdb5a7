// Refusal: something Windows would not do that the window cannot do without, and how the user is told.
#include "Refusal.h"

void refuse(const wchar_t* what) { throw Refusal{what, GetLastError()}; }

// FormatMessageW writes into a buffer of ours: a refusal often comes from a
// lack of memory, where one it allocated might not be had. Its texts end with
// a line break, which the box does not need.
std::wstring messageFor(const wchar_t* what, DWORD error) {
  std::wstring message = what;
  if (error == ERROR_SUCCESS) return message;
  wchar_t reason[512];
  DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, reason,
                                static_cast<DWORD>(std::size(reason)), nullptr);
  while (length > 0 && (reason[length - 1] == L'\n' || reason[length - 1] == L'\r' || reason[length - 1] == L' '))
    --length;
  message += L"\n\n";
  message += length > 0 ? std::wstring(reason, length) : L"Windows error " + std::to_wstring(error) + L".";
  return message;
}

void tellUser(HWND owner, const std::wstring& message) {
  MessageBoxW(owner, message.c_str(), L"Tovix", MB_OK | MB_ICONERROR);
}
