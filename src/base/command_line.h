// Command lines as Windows programs split them (the C runtime's rules): one
// string that a started program's argv gets back argument by argument.
#pragma once
#include <string>
#include <vector>

// `argument` quoted so that the runtime splits it back unchanged: in quotes
// when it is empty or holds a space, a tab or a quote, with the backslashes
// before a quote (or the closing quote) doubled and the quote escaped.
std::wstring QuoteArgument(const std::wstring& argument);

// The program, then the arguments, each quoted and separated by a space.
std::wstring JoinCommandLine(const std::wstring& program, const std::vector<std::wstring>& arguments);
