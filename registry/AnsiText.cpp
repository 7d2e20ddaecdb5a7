// Conversion between the program's Unicode texts and the system ANSI code page.
#include "AnsiText.h"

#include <windows.h>

// Each conversion asks for the size first, then converts: a zero from either
// call is a refusal (out of memory, say), as no text here converts to nothing.
std::optional<std::string> toAnsi(std::wstring_view text) {
  if (text.empty()) return std::string();
  const int length = static_cast<int>(text.size());
  const int bytes = WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  if (bytes == 0) return std::nullopt;
  std::string ansi(static_cast<size_t>(bytes), '\0');
  if (WideCharToMultiByte(CP_ACP, 0, text.data(), length, ansi.data(), bytes, nullptr, nullptr) == 0)
    return std::nullopt;
  return ansi;
}

std::optional<std::wstring> fromAnsi(std::string_view bytes) {
  if (bytes.empty()) return std::wstring();
  const int length = static_cast<int>(bytes.size());
  const int chars = MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
  if (chars == 0) return std::nullopt;
  std::wstring text(static_cast<size_t>(chars), L'\0');
  if (MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, text.data(), chars) == 0) return std::nullopt;
  return text;
}
