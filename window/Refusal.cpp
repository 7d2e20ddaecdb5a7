// Refusal: something Windows would not do that the window cannot do without, and how the user is told.
#include "Refusal.h"

#include <cstdlib>

void refuse(const wchar_t* what) { throw Refusal{what, GetLastError()}; }

// FormatMessageW writes into a buffer of ours: a refusal often comes from a
// lack of memory, where one it allocated might not be had. Its texts end with
// a line break, which the box does not need.
std::wstring messageFor(const wchar_t* what, DWORD error) {
  if (error == ERROR_SUCCESS) return what;
  wchar_t buffer[512];
  std::wstring reason(buffer, FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                                             0, buffer, static_cast<DWORD>(std::size(buffer)), nullptr));
  reason.erase(reason.find_last_not_of(L"\r\n ") + 1);
  // _ultow, not std::to_wstring, which would bring formatted printing, 28 KB
  // of it, into the program file.
  wchar_t number[11];
  if (reason.empty()) reason = L"Windows error " + std::wstring(_ultow(error, number, 10)) + L".";
  return what + (L"\n\n" + reason);
}

void tellUser(HWND owner, const std::wstring& message) {
  MessageBoxW(owner, message.c_str(), L"Tovix", MB_OK | MB_ICONERROR);
}
