// The program's standard output, for the install program's lines.
#pragma once
#include <string>

namespace plat {

// Writes `text` and a line break to standard output: UTF-16 to a console, in
// the ANSI code page to a file or pipe. Nothing happens without an output.
void WriteStdoutLine(const std::wstring& text);

}  // namespace plat
