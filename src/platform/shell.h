// Shell special folders.
#pragma once
#include <cstdint>
#include <string>

namespace plat {

constexpr int kCsidlPersonal = 0x05;  // the user's documents folder
constexpr int kCsidlFonts = 0x14;
constexpr int kCsidlWindows = 0x24;
constexpr int kCsidlProgramFiles = 0x26;
constexpr int kCsidlProgramFilesX86 = 0x2A;

// SHGetSpecialFolderPathW without window, without creating the folder.
bool SHGetSpecialFolderPathW(int csidl, std::wstring& path);

}  // namespace plat
