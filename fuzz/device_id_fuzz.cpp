// A printer's IEEE 1284 device ID as the port hands it over: any bytes, in
// the ANSI code page (936). Parsing must neither fail nor read out of bounds,
// and a field is always a part of the ID.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "discovery/device_id.h"

#include "base/code_page.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::wstring id = AnsiToWide(reinterpret_cast<const char*>(data), static_cast<int>(size));
  const DeviceIdFields fields = ParseDeviceId(id);
  if (id.find(fields.manufacturer) == std::wstring::npos || id.find(fields.model) == std::wstring::npos) std::abort();
  if (!fields.accepted() && !fields.model.empty()) std::abort();
  WideToAnsi(fields.model);
  return 0;
}
