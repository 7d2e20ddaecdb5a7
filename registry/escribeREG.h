// escribeREG: reads and writes one string value under a registry key, and
// reports every failing step to the user in a message box.
// The module's name and its messages' texts are kept as designed (docs/as-designed.md).
#pragma once

#include <windows.h>

#include <string>

// The value's text, or the empty text when the key cannot be opened or the
// value cannot be fetched as a string. Never creates the key.
std::wstring leeCadenaREG(HKEY root, std::wstring keyPath, std::wstring valueName);

// Stores the text as a REG_SZ value, creating the value if it is missing.
// Never creates the key.
void escribeCadenaREG(HKEY root, std::wstring keyPath, std::wstring valueName, std::wstring text);
