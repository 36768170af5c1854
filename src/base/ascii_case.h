// Letter case of the ASCII letters alone: the names the installer compares
// (INF entries, device IDs, file lists, models, switches) are ASCII, and the
// C library's locale never decides a character's class here.
#pragma once
#include <string>

inline std::wstring UpperAscii(std::wstring text) {
  for (wchar_t& c : text)
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
  return text;
}

inline std::wstring LowerAscii(std::wstring text) {
  for (wchar_t& c : text)
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  return text;
}
