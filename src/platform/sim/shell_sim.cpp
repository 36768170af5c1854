#include "platform/error.h"
#include "platform/shell.h"
#include "platform/sim/machine.h"

namespace plat {

bool SHGetSpecialFolderPathW(int csidl, std::wstring& path) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("SHGetSpecialFolderPathW", std::to_wstring(csidl))) return false;
  auto it = sim::machine().specialFolders.find(csidl);
  if (it == sim::machine().specialFolders.end()) {
    SetLastError(kErrorFileNotFound);
    return false;
  }
  path = it->second;
  return true;
}

}  // namespace plat
