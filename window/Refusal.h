// Refusal: something Windows would not do that the window cannot do without, and how the user is told.
#pragma once

#include <windows.h>

#include <string>

// Thrown by the window layer where Windows refuses what the window cannot do
// without: its class, the window, a control, a box's text. The form stops,
// and ends the program with the message (Form::End).
struct Refusal {
  const wchar_t* what;  // one short sentence: what could not be done
  DWORD error;          // the calling thread's last error at the refusal
};

// Throws a Refusal of what could not be done, with the thread's last error.
[[noreturn]] void refuse(const wchar_t* what);

// The sentence, then the system's own text for the error (none for error 0).
std::wstring messageFor(const wchar_t* what, DWORD error);

// A modal box captioned "Tovix" with an error icon, owned by the window given
// (none: no window is left). Where even the box cannot be shown, nothing else
// can tell the user: the caller goes on as it would once the box is closed.
void tellUser(HWND owner, const std::wstring& message);
