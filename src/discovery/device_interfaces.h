// Device interfaces of a class, as SetupAPI lists them: the interface classes
// discovery looks at, and the detail query with its size protocol.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "platform/devinst.h"

// GUID_DEVINTERFACE_USBPRINT {28d78fad-5a12-11d1-ae5b-0000f803a8c2}
inline constexpr plat::Guid kUsbPrintInterface{0x28D78FAD, 0x5A12, 0x11D1,
                                               {0xAE, 0x5B, 0x00, 0x00, 0xF8, 0x03, 0xA8, 0xC2}};
// GUID_DEVINTERFACE_PARALLEL {97f76ef0-f883-11d0-af1f-0000f8005c84}
inline constexpr plat::Guid kParallelInterface{0x97F76EF0, 0xF883, 0x11D0,
                                               {0xAF, 0x1F, 0x00, 0x00, 0xF8, 0x00, 0x5C, 0x84}};

// The present interfaces of `interfaceClass`; invalid when the set cannot be had.
plat::DevInfoHandle GetPresentInterfaces(const plat::Guid& interfaceClass);

// The bytes the detail record of `iface` needs; 0 when the size query does
// not tell a size that can hold a record.
uint32_t QueryInterfaceDetailSize(plat::Handle set, const plat::DeviceInterfaceData& iface);

// The device path from a detail query into a zero-filled record of `bytes`
// bytes (with the device record when `device` is not null); none on failure.
std::optional<std::wstring> QueryInterfacePath(plat::Handle set, const plat::DeviceInterfaceData& iface,
                                               uint32_t bytes, plat::DevInfoData* device);

// Size query, record and detail query in one; none when either fails.
std::optional<std::wstring> GetInterfacePath(plat::Handle set, const plat::DeviceInterfaceData& iface);
