#include <windows.h>
#include <winspool.h>

#include <vector>

#include "platform/spooler.h"

namespace plat {

bool GetPrinterDriverDirectoryW(uint32_t bufferBytes, std::wstring& directory) {
  std::vector<wchar_t> buffer(bufferBytes / sizeof(wchar_t) + 1, L'\0');
  DWORD needed = 0;
  if (!::GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(buffer.data()), bufferBytes,
                                    &needed))
    return false;
  directory = buffer.data();
  return true;
}

}  // namespace plat
