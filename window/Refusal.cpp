// Refusal: what the window cannot go on without, and how the user is told.
#include "Refusal.h"

#include <cstdlib>
#include <cwchar>
#include <iterator>
#include <new>

void refuse(const wchar_t* what) { throw Refusal{what, GetLastError()}; }

Refusal refusalOfCurrentException() noexcept {
  try {
    throw;
  } catch (const Refusal& refusal) {
    return refusal;
  } catch (const std::bad_alloc&) {
    return {L"Tovix ran out of memory.", ERROR_NOT_ENOUGH_MEMORY};
  } catch (...) {
    return {kOwnFault, ERROR_SUCCESS};
  }
}

namespace {

// Appends as much of the text as the buffer holds. No formatted printing,
// which would bring 28 KB of the runtime's into the program file.
template <size_t Size>
void append(wchar_t (&buffer)[Size], const wchar_t* text) {
  std::wcsncat(buffer, text, Size - std::wcslen(buffer) - 1);
}

}  // namespace

// FormatMessageW writes into a buffer of ours rather than one it would
// allocate. Its texts end with a line break, which the box does not need.
// Where the system has no text for the error, its number is given.
void tellUser(HWND owner, const Refusal& refusal) {
  wchar_t reason[512] = L"";
  if (refusal.error != ERROR_SUCCESS &&
      FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, refusal.error, 0, reason,
                     static_cast<DWORD>(std::size(reason)), nullptr) == 0) {
    wchar_t number[11];
    reason[0] = 0;
    append(reason, L"Windows error ");
    append(reason, _ultow(refusal.error, number, 10));
    append(reason, L".");
  }
  for (size_t end = std::wcslen(reason); end > 0 && std::wcschr(L"\r\n ", reason[end - 1]); --end) reason[end - 1] = 0;
  tellUser(owner, refusal.what, reason);
}

void tellUser(HWND owner, const wchar_t* what, const wchar_t* reason) {
  wchar_t message[1024] = L"";
  append(message, what);
  if (*reason != 0) append(message, L"\n\n");
  append(message, reason);
  MessageBoxW(owner, message, L"Tovix", MB_OK | MB_ICONERROR);
}
