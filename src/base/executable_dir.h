// The folder of the running executable, where everything it ships with lies.
#pragma once
#include <string>

// The executable's full name (GetModuleFileNameW, 260-character buffer) cut
// behind its last backslash, which stays; empty when the name has none.
std::wstring GetExecutableDirectory();

// What ships beside the executable with the package tree and PrinterInfo.ini.
inline constexpr wchar_t kReadmeFileName[] = L"USB驱动安装说明.txt";
inline constexpr wchar_t kFontFolderName[] = L"字体\\";
