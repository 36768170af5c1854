#include <algorithm>

#include "platform/sim/machine.h"

namespace sim {

std::wstring DeviceTree::Fold(const std::wstring& id) {
  std::wstring folded = id;
  for (wchar_t& c : folded)
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
  return folded;
}

DeviceTree::Device& DeviceTree::AddDevice(const std::wstring& instanceId, const std::vector<std::wstring>& hardwareIds,
                                          const plat::Guid& classGuid) {
  Device d;
  d.instanceId = instanceId;
  d.classGuid = classGuid;
  d.hardwareIds = hardwareIds;
  d.devNode = NewDevNode();
  devices.push_back(d);
  return devices.back();
}

DeviceTree::Device& DeviceTree::AddChild(const std::wstring& parent, const std::wstring& instanceId,
                                         int appearsAfterReenumerations) {
  Device& child = AddDevice(instanceId, {});
  child.parent = parent;
  child.appearsAfterReenumerations = appearsAfterReenumerations;
  return child;
}

void DeviceTree::RemoveDevice(const std::wstring& instanceId) {
  std::wstring key = Fold(instanceId);
  std::erase_if(devices, [&](const Device& d) { return Fold(d.instanceId) == key; });
}

void DeviceTree::SetInfClass(const std::wstring& infPath, const std::wstring& name, const plat::Guid& guid) {
  infClasses[FileSystem::Key(infPath)] = {name, guid};
}

DeviceTree::Endpoint& DeviceTree::AddEndpoint(const std::wstring& path, uint32_t ioctl, const std::string& reply) {
  Endpoint& e = endpoints[Fold(path)];
  e = {ioctl, reply, std::nullopt, false};
  return e;
}

DeviceTree::Device* DeviceTree::Find(const std::wstring& instanceId) {
  std::wstring key = Fold(instanceId);
  auto it = std::find_if(devices.begin(), devices.end(),
                         [&](const Device& d) { return Fold(d.instanceId) == key; });
  return it == devices.end() ? nullptr : &*it;
}

const DeviceTree::Device* DeviceTree::Find(const std::wstring& instanceId) const {
  return const_cast<DeviceTree*>(this)->Find(instanceId);
}

DeviceTree::Device* DeviceTree::FindNode(uint32_t devNode) {
  auto it = std::find_if(devices.begin(), devices.end(), [&](const Device& d) { return d.devNode == devNode; });
  return it == devices.end() ? nullptr : &*it;
}

bool DeviceTree::Present(const Device& device) const {
  if (device.parent.empty()) return true;
  const Device* parent = Find(device.parent);
  return parent && Present(*parent) && parent->reenumerations >= device.appearsAfterReenumerations;
}

}  // namespace sim
