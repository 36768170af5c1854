#include "discovery/usb_printer.h"

#include <optional>

#include "base/code_page.h"
#include "catalog/platform_probe.h"
#include "discovery/device_id.h"
#include "discovery/device_interfaces.h"
#include "platform/devio.h"
#include "platform/error.h"
#include "platform/registry.h"
#include "platform/window.h"
#include "report/app_title.h"

std::wstring UsbPortFilter = L"vid_d23c&pid_0001";

namespace {

constexpr uint32_t kReplyBytes = 512;
constexpr wchar_t kDeviceClassesKey[] =
    L"SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";

std::wstring ReplaceAll(std::wstring text, const std::wstring& from, const std::wstring& to) {
  for (size_t at = text.find(from); at != std::wstring::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

// The interface's "Port Number"; none when its key or value cannot be read.
std::optional<uint32_t> ReadPortNumber(const std::wstring& path, int familyCode) {
  plat::Handle raw = nullptr;
  if (plat::RegOpenKeyExW(plat::kHkeyLocalMachine, UsbInterfaceParametersKey(path, familyCode), plat::kKeyRead,
                          raw) != plat::kErrorSuccess)
    return std::nullopt;
  plat::KeyHandle key(raw);
  uint32_t number = 0;
  if (plat::RegQueryDwordValue(key.get(), L"Port Number", number) != plat::kErrorSuccess) return std::nullopt;
  return number;
}

}  // namespace

std::wstring UsbInterfaceParametersKey(const std::wstring& path, int familyCode) {
  const std::wstring escaped = familyCode != 0 ? ReplaceAll(path, L"\\?\\", L"##?#") : ReplaceAll(path, L"\\.\\", L"##.#");
  return kDeviceClassesKey + escaped + L"\\#\\Device Parameters";
}

uint32_t FindUsbPrinterPortNumber(plat::Handle owner) {
  const int familyCode = GetWindowsFamilyCode();
  plat::DevInfoHandle set = GetPresentInterfaces(kUsbPrintInterface);
  if (!set) {
    plat::MessageBoxW(owner, L"无法获取指定设备信息集!", kAppTitle, plat::kMbIconError);
    return 0;
  }
  uint32_t portNumber = 0;
  plat::DeviceInterfaceData iface;
  iface.size = plat::kDeviceInterfaceDataSize;
  for (uint32_t i = 0; plat::SetupDiEnumDeviceInterfaces(set.get(), kUsbPrintInterface, i, iface); ++i) {
    std::optional<std::wstring> path = GetInterfacePath(set.get(), iface);
    if (!path || path->find(UsbPortFilter) == std::wstring::npos) continue;
    std::optional<uint32_t> number = ReadPortNumber(*path, familyCode);
    if (!number) return 0;
    portNumber = *number;
  }
  return portNumber;
}

plat::FileHandle OpenUsbPrinter() {
  plat::DevInfoHandle set = GetPresentInterfaces(kUsbPrintInterface);
  if (!set) return {};
  std::optional<std::wstring> last;
  plat::DeviceInterfaceData iface;
  iface.size = plat::kDeviceInterfaceDataSize;
  uint32_t i = 0;
  for (; plat::SetupDiEnumDeviceInterfaces(set.get(), kUsbPrintInterface, i, iface); ++i)
    if (std::optional<std::wstring> path = GetInterfacePath(set.get(), iface)) last = path;
  if (plat::GetLastError() != plat::kErrorNoMoreItems || !last) return {};
  return plat::FileHandle(plat::CreateFileW(*last, plat::kGenericRead | plat::kGenericWrite,
                                            plat::kFileShareRead | plat::kFileShareWrite, plat::kOpenExisting));
}

void ReadUsbDeviceId(std::wstring& model, std::wstring& manufacturer) {
  plat::FileHandle printer = OpenUsbPrinter();
  if (!printer) return;
  char reply[kReplyBytes] = {};
  uint32_t returned = 0;
  if (!plat::DeviceIoControl(printer.get(), plat::kIoctlUsbprintGet1284Id, nullptr, 0, reply, kReplyBytes, returned))
    return;
  // The reply starts with its own length in two bytes.
  const int textBytes = returned < 2 ? 0 : static_cast<int>(returned) - 2;
  DeviceIdFields fields = ParseDeviceId(AnsiToWide(reply + 2, textBytes));
  manufacturer = fields.manufacturer;
  model = fields.model;
}
