// Device I/O controls on a handle opened with CreateFileW on a device path.
#pragma once
#include <cstdint>

#include "platform/handle.h"

namespace plat {

constexpr uint32_t kIoctlUsbprintGet1284Id = 0x220034;
constexpr uint32_t kIoctlParQueryDeviceId = 0x16000C;

// DeviceIoControl without overlapped I/O; `returned` is the count of bytes
// written into `out`.
bool DeviceIoControl(Handle device, uint32_t code, const void* in, uint32_t inBytes, void* out, uint32_t outBytes,
                     uint32_t& returned);

}  // namespace plat
