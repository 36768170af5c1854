#include "discovery/device_interfaces.h"

#include <vector>

#include "platform/error.h"

plat::DevInfoHandle GetPresentInterfaces(const plat::Guid& interfaceClass) {
  return plat::DevInfoHandle(
      plat::SetupDiGetClassDevsW(&interfaceClass, plat::kDigcfPresent | plat::kDigcfDeviceInterface));
}

uint32_t QueryInterfaceDetailSize(plat::Handle set, const plat::DeviceInterfaceData& iface) {
  uint32_t required = 0;
  if (plat::SetupDiGetDeviceInterfaceDetailW(set, iface, nullptr, 0, &required, nullptr) ||
      plat::GetLastError() != plat::kErrorInsufficientBuffer)
    return 0;
  return required >= plat::kDeviceInterfaceDetailFixedSize ? required : 0;
}

std::optional<std::wstring> QueryInterfacePath(plat::Handle set, const plat::DeviceInterfaceData& iface,
                                               uint32_t bytes, plat::DevInfoData* device) {
  // The size field holds the record's fixed part, not the buffer's size.
  std::vector<uint8_t> detail(bytes, 0);
  const uint32_t fixedSize = plat::kDeviceInterfaceDetailFixedSize;
  for (int i = 0; i < 4; ++i) detail[i] = static_cast<uint8_t>(fixedSize >> (8 * i));
  if (!plat::SetupDiGetDeviceInterfaceDetailW(set, iface, detail.data(), bytes, nullptr, device)) return std::nullopt;
  return plat::DeviceInterfaceDetailPath(detail.data(), bytes);
}

std::optional<std::wstring> GetInterfacePath(plat::Handle set, const plat::DeviceInterfaceData& iface) {
  const uint32_t bytes = QueryInterfaceDetailSize(set, iface);
  if (bytes == 0) return std::nullopt;
  return QueryInterfacePath(set, iface, bytes, nullptr);
}
