// Conversion between the program's Unicode texts and the system ANSI code page.
#pragma once

#include <string>
#include <string_view>

// The ANSI form of a text. Characters the code page cannot hold become what
// the system's conversion makes of them (its default character).
std::string toAnsi(std::wstring_view text);

// The Unicode form of ANSI bytes.
std::wstring fromAnsi(std::string_view bytes);
