#include <windows.h>

#include <string>

#include "platform/console.h"

namespace plat {

void WriteStdoutLine(const std::wstring& text) {
  HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
  if (out == nullptr || out == INVALID_HANDLE_VALUE) return;
  const std::wstring line = text + L"\r\n";
  DWORD mode = 0, written = 0;
  if (::GetConsoleMode(out, &mode)) {
    ::WriteConsoleW(out, line.c_str(), static_cast<DWORD>(line.size()), &written, nullptr);
    return;
  }
  const int bytes = ::WideCharToMultiByte(CP_ACP, 0, line.c_str(), static_cast<int>(line.size()), nullptr, 0,
                                          nullptr, nullptr);
  if (bytes <= 0) return;
  std::string ansi(static_cast<size_t>(bytes), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, line.c_str(), static_cast<int>(line.size()), ansi.data(), bytes, nullptr, nullptr);
  ::WriteFile(out, ansi.data(), static_cast<DWORD>(ansi.size()), &written, nullptr);
}

}  // namespace plat
