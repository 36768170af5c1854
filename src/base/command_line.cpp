#include "base/command_line.h"

std::wstring QuoteArgument(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos) return argument;
  std::wstring quoted = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    // Backslashes before a quote are doubled, and the quote escaped.
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, L'\\');  // before the closing quote
  return quoted + L"\"";
}

std::wstring JoinCommandLine(const std::wstring& program, const std::vector<std::wstring>& arguments) {
  // The runtime reads the program name up to the next quote, without escapes:
  // a path never holds a quote, so plain quotes around it suffice.
  std::wstring line = L"\"" + program + L"\"";
  for (const std::wstring& argument : arguments) line += L" " + QuoteArgument(argument);
  return line;
}
