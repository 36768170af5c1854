#include <windows.h>
#include <shlobj.h>

#include "platform/shell.h"

namespace plat {

bool SHGetSpecialFolderPathW(int csidl, std::wstring& path) {
  wchar_t buffer[MAX_PATH + 1] = {};
  if (!::SHGetSpecialFolderPathW(nullptr, buffer, csidl, FALSE)) return false;
  path = buffer;
  return true;
}

}  // namespace plat
