// Printers and ports on the simulated machine, for the discovery tests.
#pragma once
#include <string>

#include "discovery/device_interfaces.h"
#include "platform/devio.h"
#include "sim_test.h"

namespace discovery_machine {

inline std::wstring UsbPath(const std::wstring& vidPid, const std::wstring& serial) {
  return L"\\\\?\\usb#" + vidPid + L"#" + serial + L"#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";
}

// The printer's answer to the USB query: two big-endian length bytes, then the ID.
inline std::string UsbReply(const std::string& id) {
  const size_t n = id.size() + 2;
  return std::string{static_cast<char>(n >> 8), static_cast<char>(n & 0xFF)} + id;
}

// A USB printing interface at `path` whose printer answers with `deviceId`,
// and its "Port Number" when `portNumber` is not 0.
inline sim::DeviceTree::Endpoint& AddUsbPrinter(const std::wstring& path, uint32_t portNumber,
                                                const std::string& deviceId) {
  sim::Machine& m = sim::machine();
  m.devices.AddDevice(L"USB\\" + path.substr(8, path.rfind(L'#') - 8), {}).interfaces.push_back({kUsbPrintInterface, path});
  if (portNumber != 0) {
    std::wstring escaped = L"##?#" + path.substr(4);
    m.registry.SetDword(L"HKLM\\SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\"
                        L"{28d78fad-5a12-11d1-ae5b-0000f803a8c2}\\" + escaped + L"\\#\\Device Parameters",
                        L"Port Number", portNumber);
  }
  return m.devices.AddEndpoint(path, plat::kIoctlUsbprintGet1284Id, UsbReply(deviceId));
}

// A "Ports" device with a parallel interface, and the port's \\.\NAME endpoint
// answering `deviceId` (no endpoint when `name` is empty).
inline sim::DeviceTree::Device& AddParallelPort(const std::wstring& instanceId, const std::wstring& friendlyName,
                                                const std::wstring& name, const std::string& deviceId) {
  sim::Machine& m = sim::machine();
  sim::DeviceTree::Device& port = m.devices.AddDevice(instanceId, {}, m.devices.classNames[L"PORTS"][0]);
  port.friendlyName = friendlyName;
  port.interfaces.push_back({kParallelInterface, L"\\\\?\\" + instanceId + L"#{97f76ef0}"});
  if (!name.empty()) m.devices.AddEndpoint(L"\\\\.\\" + name, plat::kIoctlParQueryDeviceId, deviceId);
  return port;
}

}  // namespace discovery_machine
