// A library or program of a driver package, any bytes: the headers and the
// export names are read as data. Parsing must neither fail nor read out of
// bounds, and what it accepts stays within the file and the names' cap.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/pe_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  PeImage image;
  if (!ParsePeImage(bytes, image)) return 0;
  uint64_t total = 0;
  for (const std::string& name : image.exports) {
    if (name.size() >= size || name.find('\0') != std::string::npos) std::abort();
    total += name.size() + 1;
  }
  if (total > kMaxExportNameBytes) std::abort();
  if (IsX64Image(image) && IsX86Image(image)) std::abort();
  return 0;
}
