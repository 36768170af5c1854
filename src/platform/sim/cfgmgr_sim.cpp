// The simulated configuration manager over the device tree. A fault's error
// is returned as the CONFIGRET code.
#include "platform/cfgmgr.h"
#include "platform/error.h"
#include "platform/sim/machine.h"

namespace plat {

namespace {

using sim::DeviceTree;

DeviceTree& Tree() { return sim::machine().devices; }

DeviceTree::Device* PresentNode(uint32_t devInst) {
  DeviceTree::Device* d = Tree().FindNode(devInst);
  return d && Tree().Present(*d) ? d : nullptr;
}

// The first present child of `parent` behind position `after` of the tree.
uint32_t NextChild(const std::wstring& parent, size_t from, uint32_t& node) {
  const std::wstring key = DeviceTree::Fold(parent);
  for (size_t i = from; i < Tree().devices.size(); ++i) {
    const DeviceTree::Device& d = Tree().devices[i];
    if (DeviceTree::Fold(d.parent) == key && Tree().Present(d)) {
      node = d.devNode;
      return kCrSuccess;
    }
  }
  return kCrNoSuchDevnode;
}

}  // namespace

uint32_t CM_Get_Device_ID_Size(uint32_t& length, uint32_t devInst, uint32_t) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("CM_Get_Device_ID_Size", std::to_wstring(devInst))) return GetLastError();
  const DeviceTree::Device* d = PresentNode(devInst);
  if (!d) return kCrNoSuchDevnode;
  length = static_cast<uint32_t>(d->instanceId.size());
  return kCrSuccess;
}

uint32_t CM_Get_Device_IDW(uint32_t devInst, wchar_t* buffer, uint32_t length, uint32_t) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("CM_Get_Device_IDW", std::to_wstring(devInst))) return GetLastError();
  if (!buffer) return kCrInvalidPointer;
  const DeviceTree::Device* d = PresentNode(devInst);
  if (!d) return kCrNoSuchDevnode;
  const std::wstring& id = d->instanceId;
  if (id.size() > length) return kCrBufferSmall;
  std::copy(id.begin(), id.end(), buffer);
  if (id.size() < length) buffer[id.size()] = L'\0';
  return kCrSuccess;
}

uint32_t CM_Locate_DevNodeW(uint32_t& devInst, const std::wstring& instanceId, uint32_t) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("CM_Locate_DevNodeW", instanceId)) return GetLastError();
  const DeviceTree::Device* d = Tree().Find(instanceId);
  if (!d || !Tree().Present(*d)) return kCrNoSuchDevnode;
  devInst = d->devNode;
  return kCrSuccess;
}

uint32_t CM_Reenumerate_DevNode(uint32_t devInst, uint32_t) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("CM_Reenumerate_DevNode", std::to_wstring(devInst))) return GetLastError();
  DeviceTree::Device* d = PresentNode(devInst);
  if (!d) return kCrNoSuchDevnode;
  ++d->reenumerations;
  return kCrSuccess;
}

uint32_t CM_Get_Child(uint32_t& child, uint32_t devInst, uint32_t) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("CM_Get_Child", std::to_wstring(devInst))) return GetLastError();
  const DeviceTree::Device* d = PresentNode(devInst);
  if (!d) return kCrNoSuchDevnode;
  return NextChild(d->instanceId, 0, child);
}

uint32_t CM_Get_Sibling(uint32_t& sibling, uint32_t devInst, uint32_t) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("CM_Get_Sibling", std::to_wstring(devInst))) return GetLastError();
  const DeviceTree::Device* d = PresentNode(devInst);
  if (!d) return kCrNoSuchDevnode;
  const size_t position = static_cast<size_t>(d - Tree().devices.data());
  return NextChild(d->parent, position + 1, sibling);
}

}  // namespace plat
