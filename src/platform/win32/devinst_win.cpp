#include <windows.h>
#include <setupapi.h>
#include <newdev.h>

#include <cstring>
#include <vector>

#include "platform/devinst.h"
#include "platform/win32/system_library.h"

namespace plat {

namespace {

// newdev is not a known DLL: bound on the install worker's first Plug and Play update.
constinit SystemLibrary s_newdev(L"newdev.dll");
constinit SystemProc<decltype(&::UpdateDriverForPlugAndPlayDevicesW)> s_updateDriver(
    s_newdev, "UpdateDriverForPlugAndPlayDevicesW");

static_assert(sizeof(SP_DEVINFO_DATA) == kDevInfoDataSize, "the device record of this process");
static_assert(sizeof(SP_DEVICE_INTERFACE_DATA) == kDeviceInterfaceDataSize, "the interface record of this process");
static_assert(sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W) == kDeviceInterfaceDetailFixedSize,
              "the fixed part of the interface detail of this process");

GUID ToWin(const Guid& g) {
  GUID w{g.data1, g.data2, g.data3, {}};
  std::memcpy(w.Data4, g.data4, sizeof w.Data4);
  return w;
}

Guid FromWin(const GUID& w) {
  Guid g;
  g.data1 = w.Data1;
  g.data2 = w.Data2;
  g.data3 = w.Data3;
  std::memcpy(g.data4, w.Data4, sizeof g.data4);
  return g;
}

SP_DEVINFO_DATA ToWin(const DevInfoData& d) {
  SP_DEVINFO_DATA w{};
  w.cbSize = d.size;
  w.ClassGuid = ToWin(d.classGuid);
  w.DevInst = d.devInst;
  w.Reserved = d.reserved;
  return w;
}

void FromWin(const SP_DEVINFO_DATA& w, DevInfoData& d) {
  d.classGuid = FromWin(w.ClassGuid);
  d.devInst = w.DevInst;
  d.reserved = w.Reserved;
}

SP_DEVICE_INTERFACE_DATA ToWin(const DeviceInterfaceData& d) {
  SP_DEVICE_INTERFACE_DATA w{};
  w.cbSize = d.size;
  w.InterfaceClassGuid = ToWin(d.interfaceClassGuid);
  w.Flags = d.flags;
  w.Reserved = d.reserved;
  return w;
}

}  // namespace

bool SetupDiClassGuidsFromNameW(const std::wstring& className, Guid* guids, uint32_t capacity, uint32_t& required) {
  std::vector<GUID> w(capacity ? capacity : 1);
  DWORD count = 0;
  bool ok = ::SetupDiClassGuidsFromNameW(className.c_str(), w.data(), capacity, &count) != FALSE;
  required = count;
  for (uint32_t i = 0; ok && i < count && i < capacity; ++i) guids[i] = FromWin(w[i]);
  return ok;
}

bool SetupDiEnumDeviceInterfaces(Handle set, const Guid& interfaceGuid, uint32_t index, DeviceInterfaceData& iface) {
  GUID g = ToWin(interfaceGuid);
  SP_DEVICE_INTERFACE_DATA w = ToWin(iface);
  if (!::SetupDiEnumDeviceInterfaces(set, nullptr, &g, index, &w)) return false;
  iface.interfaceClassGuid = FromWin(w.InterfaceClassGuid);
  iface.flags = w.Flags;
  iface.reserved = w.Reserved;
  return true;
}

bool SetupDiGetDeviceInterfaceDetailW(Handle set, const DeviceInterfaceData& iface, uint8_t* detail,
                                      uint32_t detailBytes, uint32_t* requiredBytes, DevInfoData* device) {
  SP_DEVICE_INTERFACE_DATA w = ToWin(iface);
  SP_DEVINFO_DATA d{};
  if (device) d = ToWin(*device);
  DWORD required = 0;
  bool ok = ::SetupDiGetDeviceInterfaceDetailW(set, &w, reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(detail),
                                               detailBytes, &required, device ? &d : nullptr) != FALSE;
  if (requiredBytes) *requiredBytes = required;
  if (ok && device) FromWin(d, *device);
  return ok;
}

bool SetupDiGetINFClassW(const std::wstring& infPath, Guid& classGuid, wchar_t* className, uint32_t classNameSize) {
  GUID w{};
  bool ok = ::SetupDiGetINFClassW(infPath.c_str(), &w, className, classNameSize, nullptr) != FALSE;
  if (ok) classGuid = FromWin(w);
  return ok;
}

Handle SetupDiGetClassDevsW(const Guid* classGuid, uint32_t flags) {
  GUID w{};
  if (classGuid) w = ToWin(*classGuid);
  return ::SetupDiGetClassDevsW(classGuid ? &w : nullptr, nullptr, nullptr, flags);
}

Handle SetupDiCreateDeviceInfoList(const Guid* classGuid) {
  GUID w{};
  if (classGuid) w = ToWin(*classGuid);
  return ::SetupDiCreateDeviceInfoList(classGuid ? &w : nullptr, nullptr);
}

bool SetupDiDestroyDeviceInfoList(Handle set) { return ::SetupDiDestroyDeviceInfoList(set) != FALSE; }

bool SetupDiEnumDeviceInfo(Handle set, uint32_t index, DevInfoData& device) {
  SP_DEVINFO_DATA w = ToWin(device);
  if (!::SetupDiEnumDeviceInfo(set, index, &w)) return false;
  FromWin(w, device);
  return true;
}

bool SetupDiGetDeviceRegistryPropertyW(Handle set, const DevInfoData& device, uint32_t property, wchar_t* buffer,
                                       uint32_t bufferUnits, uint32_t* requiredUnits) {
  SP_DEVINFO_DATA w = ToWin(device);
  DWORD requiredBytes = 0;
  bool ok = ::SetupDiGetDeviceRegistryPropertyW(set, &w, property, nullptr, reinterpret_cast<BYTE*>(buffer),
                                                bufferUnits * sizeof(WCHAR), &requiredBytes) != FALSE;
  if (requiredUnits) *requiredUnits = (requiredBytes + sizeof(WCHAR) - 1) / sizeof(WCHAR);
  return ok;
}

bool SetupDiSetDeviceRegistryPropertyW(Handle set, DevInfoData& device, uint32_t property, const wchar_t* data,
                                       uint32_t units) {
  SP_DEVINFO_DATA w = ToWin(device);
  return ::SetupDiSetDeviceRegistryPropertyW(set, &w, property, reinterpret_cast<const BYTE*>(data),
                                             units * sizeof(WCHAR)) != FALSE;
}

bool SetupDiCreateDeviceInfoW(Handle set, const std::wstring& deviceName, const Guid& classGuid, uint32_t flags,
                              DevInfoData& device) {
  GUID g = ToWin(classGuid);
  SP_DEVINFO_DATA w = ToWin(device);
  if (!::SetupDiCreateDeviceInfoW(set, deviceName.c_str(), &g, nullptr, nullptr, flags, &w)) return false;
  FromWin(w, device);
  return true;
}

bool SetupDiCallClassInstaller(uint32_t installFunction, Handle set, DevInfoData& device) {
  SP_DEVINFO_DATA w = ToWin(device);
  if (!::SetupDiCallClassInstaller(installFunction, set, &w)) return false;
  FromWin(w, device);
  return true;
}

bool UpdateDriverForPlugAndPlayDevicesW(const std::wstring& hardwareId, const std::wstring& infPath,
                                        uint32_t installFlags, bool* rebootRequired) {
  if (rebootRequired) *rebootRequired = false;
  auto updateDriver = s_updateDriver.Get();
  if (!updateDriver) return false;
  BOOL reboot = FALSE;
  bool ok = updateDriver(nullptr, hardwareId.c_str(), infPath.c_str(), installFlags, &reboot) != FALSE;
  if (rebootRequired) *rebootRequired = reboot != FALSE;
  return ok;
}

}  // namespace plat
