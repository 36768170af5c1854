// Text between UTF-16 and the system's ANSI code page (the log, the printers'
// device IDs).
#pragma once
#include <string>

// The reply's `count` bytes in the ANSI code page, as UTF-16; the text ends at
// the first NUL, so an embedded zero byte ends it there.
std::wstring AnsiToWide(const char* bytes, int count);
// `text` up to its first NUL in the ANSI code page, without terminator.
std::string WideToAnsi(const std::wstring& text);
