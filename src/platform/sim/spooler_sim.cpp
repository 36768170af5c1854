#include "platform/error.h"
#include "platform/sim/machine.h"
#include "platform/spooler.h"

namespace plat {

bool GetPrinterDriverDirectoryW(uint32_t bufferBytes, std::wstring& directory) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("GetPrinterDriverDirectoryW", std::to_wstring(bufferBytes))) return false;
  const std::wstring& folder = sim::machine().spooler.driverDirectory;
  if ((folder.size() + 1) * 2 > bufferBytes) {  // UTF-16 units with their terminator
    SetLastError(kErrorInsufficientBuffer);
    return false;
  }
  directory = folder;
  return true;
}

}  // namespace plat
