// Device installation: SetupAPI device information sets, device properties,
// root-device creation, and the Plug and Play driver update of newdev.
#pragma once
#include <cstdint>
#include <string>

#include "platform/handle.h"

namespace plat {

// A GUID, laid out as the Win32 GUID.
struct Guid {
  uint32_t data1 = 0;
  uint16_t data2 = 0;
  uint16_t data3 = 0;
  uint8_t data4[8] = {};
  bool operator==(const Guid&) const = default;
};

// One device element of a set (SP_DEVINFO_DATA). The caller sets `size`;
// the other fields belong to the set that filled them in.
struct DevInfoData {
  uint32_t size = 0;
  Guid classGuid;
  uint32_t devInst = 0;
  uintptr_t reserved = 0;
};

// The record sizes below are those of the process's own layout. The shipped
// installer is a 32-bit process (and so is the simulated one); a 64-bit build
// exists only to run the Windows-side tests where Wine has no 32-bit loader.
#if defined(_WIN64)
constexpr uint32_t kDevInfoDataSize = 32;
#else
constexpr uint32_t kDevInfoDataSize = 28;  // sizeof(SP_DEVINFO_DATA) in a 32-bit process
#endif

// SetupDiGetClassDevsW flags.
constexpr uint32_t kDigcfPresent = 0x2;
constexpr uint32_t kDigcfAllClasses = 0x4;
constexpr uint32_t kDigcfProfile = 0x8;
constexpr uint32_t kDigcfDeviceInterface = 0x10;

constexpr uint32_t kSpdrpHardwareId = 1;
constexpr uint32_t kSpdrpFriendlyName = 0xC;
constexpr uint32_t kDicdGenerateId = 1;
// Class installer functions.
constexpr uint32_t kDifRemove = 0x5;
constexpr uint32_t kDifRegisterDevice = 0x19;
constexpr uint32_t kInstallFlagForce = 1;

// One device interface of a set (SP_DEVICE_INTERFACE_DATA). The caller sets
// `size`; the other fields belong to the set that filled them in.
struct DeviceInterfaceData {
  uint32_t size = 0;
  Guid interfaceClassGuid;
  uint32_t flags = 0;
  uintptr_t reserved = 0;
};

// The fixed part of SP_DEVICE_INTERFACE_DETAIL_DATA_W (cbSize and the first
// path unit; packed in a 32-bit process, padded to 8 in a 64-bit one): what
// its size field must hold.
#if defined(_WIN64)
constexpr uint32_t kDeviceInterfaceDataSize = 32;
constexpr uint32_t kDeviceInterfaceDetailFixedSize = 8;
#else
constexpr uint32_t kDeviceInterfaceDataSize = 28;  // sizeof(SP_DEVICE_INTERFACE_DATA) in a 32-bit process
constexpr uint32_t kDeviceInterfaceDetailFixedSize = 6;
#endif
constexpr uint32_t kDeviceInterfaceDetailPathOffset = 4;

// The device path of a detail record of `bytes` bytes: the UTF-16 units from
// the path's offset up to the first zero unit or the record's end.
inline std::wstring DeviceInterfaceDetailPath(const uint8_t* detail, uint32_t bytes) {
  std::wstring path;
  for (uint32_t i = kDeviceInterfaceDetailPathOffset; i + 1 < bytes; i += 2) {
    wchar_t unit = static_cast<wchar_t>(detail[i] | detail[i + 1] << 8);
    if (unit == L'\0') break;
    path.push_back(unit);
  }
  return path;
}

// SetupDiGetINFClassW: the setup class the INF names, its name written into
// `className` (capacity `classNameSize` characters, terminator included).
bool SetupDiGetINFClassW(const std::wstring& infPath, Guid& classGuid, wchar_t* className, uint32_t classNameSize);

// SetupDiGetClassDevsW without enumerator and window; `classGuid` may be null.
// Fails with kInvalidHandle.
Handle SetupDiGetClassDevsW(const Guid* classGuid, uint32_t flags);
// SetupDiCreateDeviceInfoList without window: a new empty set. Fails with kInvalidHandle.
Handle SetupDiCreateDeviceInfoList(const Guid* classGuid);
bool SetupDiDestroyDeviceInfoList(Handle set);

// False with kErrorNoMoreItems past the last device.
bool SetupDiEnumDeviceInfo(Handle set, uint32_t index, DevInfoData& device);

// SetupDiGetDeviceRegistryPropertyW for a text property (a multi-string for
// kSpdrpHardwareId, one text for kSpdrpFriendlyName). Sizes count UTF-16 units, not bytes: the API's byte
// counts divided by two. `buffer` may be null with `bufferUnits` 0 to learn the
// size; `requiredUnits` may be null.
bool SetupDiGetDeviceRegistryPropertyW(Handle set, const DevInfoData& device, uint32_t property, wchar_t* buffer,
                                       uint32_t bufferUnits, uint32_t* requiredUnits);
// SetupDiSetDeviceRegistryPropertyW with `units` UTF-16 units of `data`.
bool SetupDiSetDeviceRegistryPropertyW(Handle set, DevInfoData& device, uint32_t property, const wchar_t* data,
                                       uint32_t units);

// SetupDiClassGuidsFromNameW: up to `capacity` GUIDs of the setup classes
// named `className`; `required` is their number (kErrorInsufficientBuffer when
// more than `capacity`).
bool SetupDiClassGuidsFromNameW(const std::wstring& className, Guid* guids, uint32_t capacity, uint32_t& required);

// SetupDiEnumDeviceInterfaces without device filter: the `index`th interface
// of class `interfaceGuid` in the set; false with kErrorNoMoreItems past the last.
bool SetupDiEnumDeviceInterfaces(Handle set, const Guid& interfaceGuid, uint32_t index, DeviceInterfaceData& iface);
// SetupDiGetDeviceInterfaceDetailW. `detail` is the caller's record of
// `detailBytes` bytes (null with 0 to learn the size), laid out as
// SP_DEVICE_INTERFACE_DETAIL_DATA_W: its first four bytes hold
// kDeviceInterfaceDetailFixedSize, the UTF-16 path follows. `requiredBytes`
// and `device` may be null.
bool SetupDiGetDeviceInterfaceDetailW(Handle set, const DeviceInterfaceData& iface, uint8_t* detail,
                                      uint32_t detailBytes, uint32_t* requiredBytes, DevInfoData* device);

// SetupDiCreateDeviceInfoW without description and window. With kDicdGenerateId
// `deviceName` is the class name from which the instance ID is generated.
bool SetupDiCreateDeviceInfoW(Handle set, const std::wstring& deviceName, const Guid& classGuid, uint32_t flags,
                              DevInfoData& device);
bool SetupDiCallClassInstaller(uint32_t installFunction, Handle set, DevInfoData& device);

// UpdateDriverForPlugAndPlayDevicesW without window; `rebootRequired` may be null.
bool UpdateDriverForPlugAndPlayDevicesW(const std::wstring& hardwareId, const std::wstring& infPath,
                                        uint32_t installFlags, bool* rebootRequired);

struct DestroyDeviceInfoList {
  void operator()(Handle h) const { SetupDiDestroyDeviceInfoList(h); }
};
using DevInfoHandle = UniqueHandle<DestroyDeviceInfoList>;

}  // namespace plat
