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
  return k.processArchitecture == kProcessorArchitectureIntel && k.nativeArchitecture != kProcessorArchitectureIntel;
}

bool Succeed() {
  SetLastError(kErrorSuccess);
  return true;
}

DeviceTree::Set* SetOf(Handle set) {
  auto it = Tree().sets.find(sim::Id(set));
  return it == Tree().sets.end() ? nullptr : &it->second;
}

// The instance ID of the set's element that `device` names (devInst is its
// position + 1, reserved the set's handle); empty when it names none.
std::wstring ElementOf(Handle set, const DeviceTree::Set& s, const DevInfoData& device) {
  if (device.size != kDevInfoDataSize || device.reserved != sim::Id(set)) return {};
  if (device.devInst == 0 || device.devInst > s.members.size()) return {};
  return s.members[device.devInst - 1];
}

// The device behind an element: still unregistered in the set, or in the tree.
DeviceTree::Device* DeviceOf(DeviceTree::Set& s, const std::wstring& instanceId) {
  auto it = s.unregistered.find(DeviceTree::Fold(instanceId));
  return it != s.unregistered.end() ? &it->second : Tree().Find(instanceId);
}

void Describe(Handle set, const DeviceTree::Set& s, const std::wstring& instanceId, DevInfoData& device) {
  auto position = std::find(s.members.begin(), s.members.end(), instanceId) - s.members.begin();
  device.devInst = static_cast<uint32_t>(position + 1);
  device.reserved = sim::Id(set);
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
  if (!allClasses && !classGuid) return Fail(kErrorInvalidParameter), kInvalidHandle;
  std::vector<std::wstring> members;
  for (const DeviceTree::Device& d : Tree().devices)
    if (allClasses || d.classGuid == *classGuid) members.push_back(d.instanceId);
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
  const std::wstring& id = s->members[index];
  const DeviceTree::Device* d = DeviceOf(*s, id);
  device.classGuid = d ? d->classGuid : Guid{};
  Describe(set, *s, id, device);
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
  if (property != kSpdrpHardwareId || d->hardwareIds.empty()) return Fail(kErrorInvalidData);
  std::wstring multi;
  for (const std::wstring& hw : d->hardwareIds) multi += hw + L'\0';
  multi += L'\0';
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
  s->unregistered[DeviceTree::Fold(id)] = {id, classGuid, {}, {}};
  s->members.push_back(id);
  device.classGuid = classGuid;
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
