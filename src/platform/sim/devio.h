// Device paths in the simulated machine: CreateFileW and CloseHandle hand
// "\\.\" and "\\?\" paths to the device tree's endpoints.
#pragma once
#include <cstdint>
#include <string>

#include "platform/handle.h"

namespace sim {

bool IsDevicePath(const std::wstring& path);
// Opens the endpoint at `path`, honouring share modes; kInvalidHandle with the
// last error set when there is none or it is held.
plat::Handle OpenDevicePath(const std::wstring& path, uint32_t shareMode);
// True when `h` was an open device handle (now closed).
bool CloseDevicePath(plat::Handle h);

}  // namespace sim
