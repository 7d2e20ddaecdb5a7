// Refusal: what the window cannot go on without, and how the user is told.
#pragma once

#include <windows.h>

// Thrown by the window layer where Windows refuses what the window cannot do
// without: its class, the window, a control, a box's text. The form stops,
// and ends the program with the message (Form::End).
struct Refusal {
  const wchar_t* what;  // one short sentence: what could not be done
  DWORD error;          // the calling thread's last error at the refusal
};

// What the user is told of a fault of Tovix's own, which should never come.
inline constexpr wchar_t kOwnFault[] = L"Tovix stopped on an error of its own.";

// Throws a Refusal of what could not be done, with the thread's last error.
[[noreturn]] void refuse(const wchar_t* what);

// In a handler: what the exception being handled means to the user. A
// refusal as thrown; running out of memory, with the system's
// ERROR_NOT_ENOUGH_MEMORY; anything else, in a sentence of its own.
Refusal refusalOfCurrentException() noexcept;

// A modal box captioned "Tovix" with an error icon, owned by the window given
// (none: no window is left): the sentence, then the system's own text for the
// error, or the reason given. Nothing is allocated on the way, as memory may
// be what ran out. Where even the box cannot be shown, nothing else can tell
// the user: the caller goes on as it would once the box is closed.
void tellUser(HWND owner, const Refusal& refusal);
void tellUser(HWND owner, const wchar_t* what, const wchar_t* reason);
