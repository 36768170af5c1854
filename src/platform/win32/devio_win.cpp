#include <windows.h>

#include "platform/devio.h"

namespace plat {

bool DeviceIoControl(Handle device, uint32_t code, const void* in, uint32_t inBytes, void* out, uint32_t outBytes,
                     uint32_t& returned) {
  DWORD n = 0;
  bool ok = ::DeviceIoControl(device, code, const_cast<void*>(in), inBytes, out, outBytes, &n, nullptr) != FALSE;
  returned = n;
  return ok;
}

}  // namespace plat
