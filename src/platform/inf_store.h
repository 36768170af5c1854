// The system's INF store (SetupAPI).
#pragma once
#include <cstdint>
#include <string>

namespace plat {

constexpr uint32_t kSpostPath = 1;  // the media location is a path

// SetupCopyOEMInfW without a destination-name buffer (null, 0, null, null).
bool SetupCopyOEMInfW(const std::wstring& sourceInf, const std::wstring& mediaLocation, uint32_t mediaType,
                      uint32_t copyStyle);

}  // namespace plat
