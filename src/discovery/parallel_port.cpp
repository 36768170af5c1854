#include "discovery/parallel_port.h"

#include <optional>
#include <vector>

#include "base/ascii_case.h"
#include "base/code_page.h"
#include "discovery/device_id.h"
#include "discovery/device_interfaces.h"
#include "platform/cfgmgr.h"
#include "platform/devinst.h"
#include "platform/devio.h"
#include "platform/kernel.h"
#include "report/install_log.h"

namespace {

constexpr uint32_t kReplyBytes = 512;
constexpr uint32_t kPortNameUnits = 130;  // the 260-byte buffer of the port search
constexpr uint32_t kFriendlyNameUnits = 260;
constexpr size_t kFieldLength = 259;      // a 260-character field and its terminator
constexpr int kRescanAttempts = 3;
constexpr uint32_t kClassGuidCapacity = 8;

std::optional<std::wstring> ReadFriendlyName(plat::Handle set, const plat::DevInfoData& device, uint32_t units) {
  std::vector<wchar_t> name(units, L'\0');
  if (!plat::SetupDiGetDeviceRegistryPropertyW(set, device, plat::kSpdrpFriendlyName, name.data(), units, nullptr))
    return std::nullopt;
  return std::wstring(name.data());
}

// The node's instance ID; none when its length or the ID cannot be read.
std::optional<std::wstring> DeviceInstanceId(uint32_t devInst) {
  uint32_t length = 0;
  if (plat::CM_Get_Device_ID_Size(length, devInst, 0) != plat::kCrSuccess) return std::nullopt;
  std::vector<wchar_t> id(length + 1, L'\0');
  if (plat::CM_Get_Device_IDW(devInst, id.data(), length + 1, 0) != plat::kCrSuccess) return std::nullopt;
  return std::wstring(id.data());
}

// Four characters behind the "(" of "(LPT", else the name's first four.
std::wstring PortNameFromFriendlyName(const std::wstring& friendlyName) {
  const size_t open = friendlyName.find(L"(LPT");
  return open == std::wstring::npos ? friendlyName.substr(0, 4) : friendlyName.substr(open + 1, 4);
}

// `value` as "%x" formats it: lower-case hexadecimal without leading zeros.
std::wstring HexText(uint32_t value) {
  std::wstring text;
  do {
    text.insert(text.begin(), L"0123456789abcdef"[value % 16]);
    value /= 16;
  } while (value != 0);
  return text;
}

enum class Attempt { kFailed, kDone, kAbort };

// One look at the port's children: kDone when the maker's printer is known,
// kAbort when the re-enumeration was refused.
Attempt LookForMakerChild(uint32_t portNode, std::wstring& foundId, bool& makerFound) {
  if (std::optional<std::wstring> portId = DeviceInstanceId(portNode); portId && !ReenumerateDevice(*portId)) {
    WriteInstallLog(L"ScanForHardwareChanges Failure", true);
    return Attempt::kAbort;
  }
  uint32_t child = 0, length = 0;
  if (plat::CM_Get_Child(child, portNode, 0) != plat::kCrSuccess ||
      plat::CM_Get_Device_ID_Size(length, child, 0) != plat::kCrSuccess)
    return makerFound ? Attempt::kDone : Attempt::kFailed;
  makerFound = false;
  std::optional<std::wstring> id = DeviceInstanceId(child);
  if (!id) return Attempt::kFailed;
  for (;;) {
    if (id && id->find(kMakerMark) != std::wstring::npos) {
      foundId = *id;
      makerFound = true;
      return Attempt::kDone;
    }
    if (plat::CM_Get_Sibling(child, child, 0) != plat::kCrSuccess) return Attempt::kFailed;
    id = DeviceInstanceId(child);
  }
}

}  // namespace

plat::FileHandle OpenParallelPrinter(const std::wstring& filter) {
  return plat::FileHandle(plat::CreateFileW(L"\\\\.\\" + FindParallelPortName(filter),
                                            plat::kGenericRead | plat::kGenericWrite, 0, plat::kOpenExisting));
}

std::wstring FindParallelPortName(const std::wstring& filter) {
  plat::Guid portsClasses[kClassGuidCapacity];
  uint32_t count = 0;
  if (!plat::SetupDiClassGuidsFromNameW(L"Ports", portsClasses, kClassGuidCapacity, count) || count == 0) {
    WriteInstallLog(L"获取端口GUID失败！", false);
    return {};
  }
  plat::DevInfoHandle set(plat::SetupDiGetClassDevsW(&portsClasses[0], plat::kDigcfPresent));
  if (!set) {
    WriteInstallLog(L"无法获取指定设备信息集!", false);
    return {};
  }
  plat::DevInfoData device;
  device.size = plat::kDevInfoDataSize;
  for (uint32_t i = 0; plat::SetupDiEnumDeviceInfo(set.get(), i, device); ++i) {
    std::optional<std::wstring> friendlyName = ReadFriendlyName(set.get(), device, kPortNameUnits);
    if (!friendlyName || friendlyName->find(filter) == std::wstring::npos) continue;
    const std::wstring portName = PortNameFromFriendlyName(*friendlyName);
    std::wstring foundId;
    RescanParallelPort(portName, foundId);
    return foundId.empty() ? portName : TextAfterLastAmpersand(foundId);
  }
  return {};
}

void RescanParallelPort(const std::wstring& portName, std::wstring& foundId) {
  plat::DevInfoHandle set = GetPresentInterfaces(kParallelInterface);
  if (!set) {
    WriteInstallLog(L"SetupDiGetClassDevs!", true);
    return;
  }
  bool makerFound = false;
  plat::DeviceInterfaceData iface;
  iface.size = plat::kDeviceInterfaceDataSize;
  for (uint32_t i = 0; plat::SetupDiEnumDeviceInterfaces(set.get(), kParallelInterface, i, iface); ++i) {
    const uint32_t bytes = QueryInterfaceDetailSize(set.get(), iface);
    if (bytes == 0) continue;
    plat::DevInfoData device;
    device.size = plat::kDevInfoDataSize;
    if (!QueryInterfacePath(set.get(), iface, bytes, &device)) {
      WriteInstallLog(L"SetupDiGetDeviceInterfaceDetail", true);
      return;
    }
    std::optional<std::wstring> friendlyName = ReadFriendlyName(set.get(), device, kFriendlyNameUnits);
    if (!friendlyName) {
      WriteInstallLog(L"SetupDiGetDeviceRegistryProperty", true);
      return;
    }
    if (UpperAscii(*friendlyName).find(portName) == std::wstring::npos) continue;
    for (int attempt = 0; attempt < kRescanAttempts; ++attempt) {
      Attempt outcome = LookForMakerChild(device.devInst, foundId, makerFound);
      if (outcome == Attempt::kAbort) return;
      if (outcome == Attempt::kDone) break;
      plat::Sleep(0);
    }
  }
}

bool ReenumerateDevice(const std::wstring& instanceId) {
  uint32_t node = 0;
  if (uint32_t cr = plat::CM_Locate_DevNodeW(node, instanceId, 0); cr != plat::kCrSuccess) {
    WriteInstallLog(L"CM_Locate_DevNode   failed:   " + HexText(cr) + L"\n ", true);
    return false;
  }
  if (uint32_t cr = plat::CM_Reenumerate_DevNode(node, 0); cr != plat::kCrSuccess) {
    WriteInstallLog(L"CM_Reenumerate_DevNode   failed:   " + HexText(cr) + L"\n ", true);
    return false;
  }
  return true;
}

std::wstring TextAfterLastAmpersand(const std::wstring& text) {
  const size_t amp = text.rfind(L'&');
  return amp == std::wstring::npos ? std::wstring() : text.substr(amp + 1);
}

bool ReadParallelDeviceId(plat::FileHandle port, std::wstring& model, std::wstring& manufacturer) {
  if (!port) return false;
  char reply[kReplyBytes] = {};
  uint32_t returned = 0;
  if (!plat::DeviceIoControl(port.get(), plat::kIoctlParQueryDeviceId, nullptr, 0, reply, kReplyBytes, returned))
    return false;
  DeviceIdFields fields = ParseDeviceId(AnsiToWide(reply, static_cast<int>(returned)));
  if (!fields.accepted()) return false;
  model = fields.model.substr(0, kFieldLength);
  manufacturer = fields.manufacturer.substr(0, kFieldLength);
  return true;
}
