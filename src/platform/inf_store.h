// The system's INF store (SetupAPI).
#pragma once
#include <cstdint>
#include <string>

#include "platform/error.h"

namespace plat {

constexpr uint32_t kSpostPath = 1;  // the media location is a path
// Copy style: an identical INF already staged fails the call with
// kErrorFileExists (error.h) and names that INF instead of staging it again.
constexpr uint32_t kSpCopyNoOverwrite = 0x8;
// SetupUninstallOEMInfW refuses an INF that a present device was installed from.
constexpr uint32_t kErrorInfInUseByDevices = 0xE000023D;

// SetupCopyOEMInfW; with `stagedName` its DestinationInfFileNameComponent
// ("oemN.inf", from a buffer of 260 units), else no destination-name buffer.
bool SetupCopyOEMInfW(const std::wstring& sourceInf, const std::wstring& mediaLocation, uint32_t mediaType,
                      uint32_t copyStyle, std::wstring* stagedName = nullptr);
// SetupUninstallOEMInfW for the staged "oemN.inf", flags 0 (never forced).
bool SetupUninstallOEMInfW(const std::wstring& stagedName);

}  // namespace plat
