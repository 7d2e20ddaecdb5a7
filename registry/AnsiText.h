// Conversion between the program's Unicode texts and the system ANSI code page.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The ANSI form of a text. Characters the code page cannot hold become what
// the system's conversion makes of them (its default character). None where
// the system refuses the conversion, which is never an empty text.
std::optional<std::string> toAnsi(std::wstring_view text);

// The Unicode form of ANSI bytes; none where the system refuses it.
std::optional<std::wstring> fromAnsi(std::string_view bytes);
