// Refusal: something Windows would not do that the window cannot do without, and how the user is told.
#include "Refusal.h"

void refuse(const wchar_t* what) { throw Refusal{what, GetLastError()}; }

namespace {

// The number in decimal digits: std::to_wstring would bring the C library's
// formatted printing, and a third more bytes, into the program file.
std::wstring decimal(DWORD number) {
  std::wstring digits;
  do digits.insert(digits.begin(), static_cast<wchar_t>(L'0' + number % 10));
  while ((number /= 10) != 0);
  return digits;
}

}  // namespace

// FormatMessageW writes into a buffer of ours: a refusal often comes from a
// lack of memory, where one it allocated might not be had. Its texts end with
// a line break, which the box does not need.
std::wstring messageFor(const wchar_t* what, DWORD error) {
  if (error == ERROR_SUCCESS) return what;
  wchar_t buffer[512];
  std::wstring reason(buffer, FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                                             0, buffer, static_cast<DWORD>(std::size(buffer)), nullptr));
  reason.erase(reason.find_last_not_of(L"\r\n ") + 1);
  if (reason.empty()) reason = L"Windows error " + decimal(error) + L".";
  return what + (L"\n\n" + reason);
}

void tellUser(HWND owner, const std::wstring& message) {
  MessageBoxW(owner, message.c_str(), L"Tovix", MB_OK | MB_ICONERROR);
}
