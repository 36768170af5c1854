#include <algorithm>

#include "platform/sim/machine.h"

namespace sim {

std::wstring DeviceTree::Fold(const std::wstring& id) {
  std::wstring folded = id;
  for (wchar_t& c : folded)
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
  return folded;
}

void DeviceTree::AddDevice(const std::wstring& instanceId, const std::vector<std::wstring>& hardwareIds,
                           const plat::Guid& classGuid) {
  devices.push_back({instanceId, classGuid, hardwareIds, {}});
}

void DeviceTree::RemoveDevice(const std::wstring& instanceId) {
  std::wstring key = Fold(instanceId);
  std::erase_if(devices, [&](const Device& d) { return Fold(d.instanceId) == key; });
}

void DeviceTree::SetInfClass(const std::wstring& infPath, const std::wstring& name, const plat::Guid& guid) {
  infClasses[FileSystem::Key(infPath)] = {name, guid};
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

}  // namespace sim
