#include "base/code_page.h"

#include <vector>

#include "platform/codepage.h"

std::wstring AnsiToWide(const char* bytes, int count) {
  int units = plat::MultiByteToWideChar(bytes, count, nullptr, 0);
  std::vector<wchar_t> buffer(static_cast<size_t>(units > 0 ? units : 0) + 1, L'\0');
  if (units > 0) plat::MultiByteToWideChar(bytes, count, buffer.data(), units);
  return std::wstring(buffer.data());  // up to the first NUL
}

std::string WideToAnsi(const std::wstring& text) {
  std::wstring head(text.c_str());  // up to the first NUL
  int n = plat::WideCharToMultiByte(head.c_str(), -1, nullptr, 0) + 1;
  std::vector<char> buffer(static_cast<size_t>(n), '\0');
  plat::WideCharToMultiByte(head.c_str(), -1, buffer.data(), n);
  return std::string(buffer.data());
}
