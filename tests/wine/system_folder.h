// Whether a module's file lies in the system folder: the one GetSystemDirectoryW
// names, or for a 32-bit process on 64-bit Windows, the WoW64 one.
#pragma once
#include <windows.h>

#include <string>

namespace wine {

inline bool StartsWithFolder(const std::wstring& file, const wchar_t* folder, UINT length) {
  return length > 0 && file.size() > length && file[length] == L'\\' &&
         CompareStringOrdinal(file.c_str(), static_cast<int>(length), folder, static_cast<int>(length), TRUE) ==
             CSTR_EQUAL;
}

inline bool InSystemFolder(const std::wstring& file) {
  wchar_t folder[MAX_PATH] = {};
  if (StartsWithFolder(file, folder, GetSystemDirectoryW(folder, MAX_PATH))) return true;
  return StartsWithFolder(file, folder, GetSystemWow64DirectoryW(folder, MAX_PATH));
}

}  // namespace wine
