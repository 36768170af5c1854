// The simulated SetupAPI and newdev. Like Windows' SetupAPI, a successful
// call sets the last error to 0.
#include <algorithm>
#include <cstdio>

#include "platform/devinst.h"
#include "platform/error.h"
#include "platform/sim/machine.h"

namespace plat {

namespace {

using sim::DeviceTree;

DeviceTree& Tree() { return sim::machine().devices; }

bool Fail(uint32_t error) {
  SetLastError(error);
  return false;
}

// A 32-bit process on 64-bit Windows: device installation refuses it.
bool InWow64() {
  const sim::KernelState& k = sim::machine().kernel;
  return sim::ProcessArchitecture() == kProcessorArchitectureIntel && k.nativeArchitecture != kProcessorArchitectureIntel;
}

bool Succeed() {
  SetLastError(kErrorSuccess);
  return true;
}

DeviceTree::Set* SetOf(Handle set) {
  auto it = Tree().sets.find(sim::Id(set));
  return it == Tree().sets.end() ? nullptr : &it->second;
}

// The device behind an element: still unregistered in the set, or in the tree.
DeviceTree::Device* DeviceOf(DeviceTree::Set& s, const std::wstring& instanceId) {
  auto it = s.unregistered.find(DeviceTree::Fold(instanceId));
  return it != s.unregistered.end() ? &it->second : Tree().Find(instanceId);
}

// The instance ID of the set's element that `device` names (devInst is its
// device node, reserved the set's handle); empty when it names none.
std::wstring ElementOf(Handle set, DeviceTree::Set& s, const DevInfoData& device) {
  if (device.size != kDevInfoDataSize || device.reserved != sim::Id(set)) return {};
  for (const std::wstring& id : s.members) {
    const DeviceTree::Device* d = DeviceOf(s, id);
    if (d && d->devNode == device.devInst) return id;
  }
  return {};
}

void Describe(Handle set, DeviceTree::Set& s, const std::wstring& instanceId, DevInfoData& device) {
  const DeviceTree::Device* d = DeviceOf(s, instanceId);
  device.classGuid = d ? d->classGuid : Guid{};
  device.devInst = d ? d->devNode : 0;
  device.reserved = sim::Id(set);
}

// The set's interfaces of class `interfaceGuid`: (member, path) in member order.
std::vector<std::pair<std::wstring, std::wstring>> InterfacesOf(DeviceTree::Set& s, const Guid& interfaceGuid) {
  std::vector<std::pair<std::wstring, std::wstring>> found;
  for (const std::wstring& id : s.members)
    if (const DeviceTree::Device* d = DeviceOf(s, id))
      for (const DeviceTree::Interface& i : d->interfaces)
        if (i.classGuid == interfaceGuid) found.emplace_back(id, i.path);
  return found;
}

bool HasInterface(const DeviceTree::Device& d, const Guid& interfaceGuid) {
  return std::any_of(d.interfaces.begin(), d.interfaces.end(),
                     [&](const DeviceTree::Interface& i) { return i.classGuid == interfaceGuid; });
}

uint32_t ReadUint32(const uint8_t* bytes, uint32_t size) {
  return size < 4 ? 0 : bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

std::wstring GuidText(const Guid& g) {
  wchar_t text[40];
  std::swprintf(text, 40, L"{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g.data1, g.data2, g.data3,
                g.data4[0], g.data4[1], g.data4[2], g.data4[3], g.data4[4], g.data4[5], g.data4[6], g.data4[7]);
  return text;
}

std::vector<std::wstring> ParseMultiString(const wchar_t* data, uint32_t units) {
  std::vector<std::wstring> strings;
  for (uint32_t i = 0; i < units && data[i] != L'\0';) {
    std::wstring s;
    while (i < units && data[i] != L'\0') s.push_back(data[i++]);
    strings.push_back(s);
    ++i;
  }
  return strings;
}

// "ROOT\<CLASS>\nnnn" with the first number not yet taken.
std::wstring GenerateInstanceId(const DeviceTree::Set& s, const std::wstring& className) {
  for (int n = 0;; ++n) {
    wchar_t number[8];
    std::swprintf(number, 8, L"%04d", n);
    std::wstring id = L"ROOT\\" + DeviceTree::Fold(className) + L"\\" + number;
    if (!Tree().Find(id) && !s.unregistered.count(DeviceTree::Fold(id))) return id;
  }
}

Handle NewSet(std::optional<Guid> classGuid, std::vector<std::wstring> members) {
  Handle h = sim::machine().NewHandle();
  Tree().sets[sim::Id(h)] = {classGuid, std::move(members), {}};
  Succeed();
  return h;
}

}  // namespace

bool SetupDiGetINFClassW(const std::wstring& infPath, Guid& classGuid, wchar_t* className, uint32_t classNameSize) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("SetupDiGetINFClassW", infPath)) return false;
  if (!sim::machine().fs.Exists(infPath)) return Fail(kErrorFileNotFound);
  auto it = Tree().infClasses.find(sim::FileSystem::Key(infPath));
  if (it == Tree().infClasses.end()) return Fail(kErrorInvalidClass);
  const std::wstring& name = it->second.name;
  if (!className || name.size() + 1 > classNameSize) return Fail(kErrorInsufficientBuffer);
  std::copy(name.begin(), name.end(), className);
  className[name.size()] = L'\0';
  classGuid = it->second.guid;
  return Succeed();
}

Handle SetupDiGetClassDevsW(const Guid* classGuid, uint32_t flags) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("SetupDiGetClassDevsW", (classGuid ? GuidText(*classGuid) : L"no class") + L" flags " +
                                             std::to_wstring(flags)))
    return kInvalidHandle;
  const bool allClasses = flags & kDigcfAllClasses;
  const bool interfaces = flags & kDigcfDeviceInterface;
  if (!allClasses && !classGuid) return Fail(kErrorInvalidParameter), kInvalidHandle;
  std::vector<std::wstring> members;
  for (const DeviceTree::Device& d : Tree().devices) {
    if ((flags & kDigcfPresent) && !Tree().Present(d)) continue;
    if (allClasses || (interfaces ? HasInterface(d, *classGuid) : d.classGuid == *classGuid))
      members.push_back(d.instanceId);
  }
  // A set of interfaces holds their devices, whatever their setup class.
  if (interfaces) return NewSet(std::nullopt, std::move(members));
  return NewSet(allClasses ? std::nullopt : std::optional<Guid>(*classGuid), std::move(members));
}

Handle SetupDiCreateDeviceInfoList(const Guid* classGuid) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("SetupDiCreateDeviceInfoList", classGuid ? GuidText(*classGuid) : L"no class"))
    return kInvalidHandle;
  return NewSet(classGuid ? std::optional<Guid>(*classGuid) : std::nullopt, {});
}

bool SetupDiDestroyDeviceInfoList(Handle set) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("SetupDiDestroyDeviceInfoList")) return false;
  return Tree().sets.erase(sim::Id(set)) ? Succeed() : Fail(kErrorInvalidHandle);
}

bool SetupDiEnumDeviceInfo(Handle set, uint32_t index, DevInfoData& device) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("SetupDiEnumDeviceInfo", std::to_wstring(index))) return false;
  DeviceTree::Set* s = SetOf(set);
  if (!s) return Fail(kErrorInvalidHandle);
  if (device.size != kDevInfoDataSize) return Fail(kErrorInvalidUserBuffer);
  if (index >= s->members.size()) return Fail(kErrorNoMoreItems);
  Describe(set, *s, s->members[index], device);
  return Succeed();
}

bool SetupDiClassGuidsFromNameW(const std::wstring& className, Guid* guids, uint32_t capacity, uint32_t& required) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("SetupDiClassGuidsFromNameW", className)) return false;
  auto it = Tree().classNames.find(DeviceTree::Fold(className));
  const std::vector<Guid> found = it == Tree().classNames.end() ? std::vector<Guid>{} : it->second;
  required = static_cast<uint32_t>(found.size());
  if (found.size() > capacity) return Fail(kErrorInsufficientBuffer);
  std::copy(found.begin(), found.end(), guids);
  return Succeed();
}

bool SetupDiEnumDeviceInterfaces(Handle set, const Guid& interfaceGuid, uint32_t index, DeviceInterfaceData& iface) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("SetupDiEnumDeviceInterfaces", std::to_wstring(index))) return false;
  DeviceTree::Set* s = SetOf(set);
  if (!s) return Fail(kErrorInvalidHandle);
  if (iface.size != kDeviceInterfaceDataSize) return Fail(kErrorInvalidUserBuffer);
  if (index >= InterfacesOf(*s, interfaceGuid).size()) return Fail(kErrorNoMoreItems);
  iface.interfaceClassGuid = interfaceGuid;
  iface.flags = 1;  // SPINT_ACTIVE
  iface.reserved = index + 1;
  return Succeed();
}

bool SetupDiGetDeviceInterfaceDetailW(Handle set, const DeviceInterfaceData& iface, uint8_t* detail,
                                      uint32_t detailBytes, uint32_t* requiredBytes, DevInfoData* device) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("SetupDiGetDeviceInterfaceDetailW", std::to_wstring(detailBytes) + L" bytes")) return false;
  DeviceTree::Set* s = SetOf(set);
  if (!s) return Fail(kErrorInvalidHandle);
  const auto found = InterfacesOf(*s, iface.interfaceClassGuid);
  if (iface.size != kDeviceInterfaceDataSize || iface.reserved == 0 || iface.reserved > found.size())
    return Fail(kErrorInvalidParameter);
  if ((detail && ReadUint32(detail, detailBytes) != kDeviceInterfaceDetailFixedSize) || (!detail && detailBytes))
    return Fail(kErrorInvalidUserBuffer);
  if (device && device->size != kDevInfoDataSize) return Fail(kErrorInvalidUserBuffer);
  const auto& [id, path] = found[iface.reserved - 1];
  const uint32_t needed = kDeviceInterfaceDetailPathOffset + static_cast<uint32_t>(path.size() + 1) * 2;
  if (requiredBytes) *requiredBytes = needed;
  if (!detail || detailBytes < needed) return Fail(kErrorInsufficientBuffer);
  for (size_t i = 0; i <= path.size(); ++i) {
    const uint16_t unit = i < path.size() ? static_cast<uint16_t>(path[i]) : 0;
    detail[kDeviceInterfaceDetailPathOffset + 2 * i] = static_cast<uint8_t>(unit & 0xFF);
    detail[kDeviceInterfaceDetailPathOffset + 2 * i + 1] = static_cast<uint8_t>(unit >> 8);
  }
  if (device) Describe(set, *s, id, *device);
  return Succeed();
}

bool SetupDiGetDeviceRegistryPropertyW(Handle set, const DevInfoData& device, uint32_t property, wchar_t* buffer,
                                       uint32_t bufferUnits, uint32_t* requiredUnits) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("SetupDiGetDeviceRegistryPropertyW", std::to_wstring(device.devInst))) return false;
  DeviceTree::Set* s = SetOf(set);
  if (!s) return Fail(kErrorInvalidHandle);
  std::wstring id = ElementOf(set, *s, device);
  if (id.empty()) return Fail(kErrorInvalidParameter);
  const DeviceTree::Device* d = DeviceOf(*s, id);
  if (!d) return Fail(kErrorNoSuchDevinst);
  std::wstring multi;
  if (property == kSpdrpFriendlyName && d->friendlyName) {
    multi = *d->friendlyName + L'\0';
  } else {
    if (property != kSpdrpHardwareId || d->hardwareIds.empty()) return Fail(kErrorInvalidData);
    for (const std::wstring& hw : d->hardwareIds) multi += hw + L'\0';
    multi += L'\0';
  }
  const uint32_t units = static_cast<uint32_t>(multi.size());
  if (requiredUnits) *requiredUnits = units;
  if (!buffer || bufferUnits < units) return Fail(kErrorInsufficientBuffer);
  std::copy(multi.begin(), multi.end(), buffer);
  return Succeed();
}

bool SetupDiSetDeviceRegistryPropertyW(Handle set, DevInfoData& device, uint32_t property, const wchar_t* data,
                                       uint32_t units) {
  auto lock = sim::machine().Lock();
  std::vector<std::wstring> strings = data ? ParseMultiString(data, units) : std::vector<std::wstring>{};
  std::wstring detail = std::to_wstring(units) + L" units";
  for (const std::wstring& s : strings) detail += L" " + s;
  if (sim::Enter("SetupDiSetDeviceRegistryPropertyW", detail)) return false;
  DeviceTree::Set* s = SetOf(set);
  if (!s) return Fail(kErrorInvalidHandle);
  std::wstring id = ElementOf(set, *s, device);
  if (id.empty() || property != kSpdrpHardwareId) return Fail(kErrorInvalidParameter);
  DeviceTree::Device* d = DeviceOf(*s, id);
  if (!d) return Fail(kErrorNoSuchDevinst);
  d->hardwareIds = strings;
  return Succeed();
}

bool SetupDiCreateDeviceInfoW(Handle set, const std::wstring& deviceName, const Guid& classGuid, uint32_t flags,
                              DevInfoData& device) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("SetupDiCreateDeviceInfoW", deviceName)) return false;
  DeviceTree::Set* s = SetOf(set);
  if (!s) return Fail(kErrorInvalidHandle);
  if (device.size != kDevInfoDataSize) return Fail(kErrorInvalidUserBuffer);
  if (s->classGuid && !(*s->classGuid == classGuid)) return Fail(kErrorClassMismatch);
  std::wstring id = flags & kDicdGenerateId ? GenerateInstanceId(*s, deviceName) : deviceName;
  if (Tree().Find(id) || s->unregistered.count(DeviceTree::Fold(id))) return Fail(kErrorDevinstAlreadyExists);
  DeviceTree::Device created;
  created.instanceId = id;
  created.classGuid = classGuid;
  created.devNode = Tree().NewDevNode();
  s->unregistered[DeviceTree::Fold(id)] = created;
  s->members.push_back(id);
  Describe(set, *s, id, device);
  return Succeed();
}

bool SetupDiCallClassInstaller(uint32_t installFunction, Handle set, DevInfoData& device) {
  auto lock = sim::machine().Lock();
  DeviceTree::Set* s = SetOf(set);
  std::wstring id = s ? ElementOf(set, *s, device) : L"";
  if (sim::Enter("SetupDiCallClassInstaller", std::to_wstring(installFunction) + L" " + id)) return false;
  if (InWow64()) return Fail(kErrorInWow64);
  if (!s) return Fail(kErrorInvalidHandle);
  if (id.empty()) return Fail(kErrorInvalidParameter);
  auto pending = s->unregistered.find(DeviceTree::Fold(id));
  if (installFunction == kDifRegisterDevice && pending != s->unregistered.end()) {
    Tree().devices.push_back(pending->second);
    s->unregistered.erase(pending);
  } else if (installFunction == kDifRemove) {
    if (!Tree().Find(id)) return Fail(kErrorNoSuchDevinst);
    Tree().RemoveDevice(id);
  }
  return Succeed();
}

bool UpdateDriverForPlugAndPlayDevicesW(const std::wstring& hardwareId, const std::wstring& infPath,
                                        uint32_t installFlags, bool* rebootRequired) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("UpdateDriverForPlugAndPlayDevicesW", hardwareId + L" " + infPath)) return false;
  if (InWow64()) return Fail(kErrorInWow64);
  Tree().updates.push_back({hardwareId, infPath, installFlags});
  if (auto hook = Tree().duringUpdate) hook();
  if (Tree().updateError) return Fail(*Tree().updateError);
  if (!sim::machine().fs.Exists(infPath)) return Fail(kErrorFileNotFound);
  bool installed = false;
  for (DeviceTree::Device& d : Tree().devices) {
    bool listed = std::any_of(d.hardwareIds.begin(), d.hardwareIds.end(), [&](const std::wstring& hw) {
      return DeviceTree::Fold(hw) == DeviceTree::Fold(hardwareId);
    });
    if (listed) d.driverInf = infPath;
    installed = installed || listed;
  }
  if (!installed) return Fail(kErrorNoSuchDevinst);
  if (rebootRequired) *rebootRequired = Tree().updateNeedsReboot;
  return Succeed();
}

}  // namespace plat
