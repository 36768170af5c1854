#include <algorithm>
#include <cstring>

#include "platform/devio.h"
#include "platform/error.h"
#include "platform/sim/devio.h"
#include "platform/sim/machine.h"

namespace sim {

namespace {
DeviceTree& Tree() { return machine().devices; }
constexpr uint32_t kErrorInvalidFunction = 1;
}  // namespace

bool IsDevicePath(const std::wstring& path) {
  return path.rfind(L"\\\\.\\", 0) == 0 || path.rfind(L"\\\\?\\", 0) == 0;
}

plat::Handle OpenDevicePath(const std::wstring& path, uint32_t shareMode) {
  const std::wstring key = DeviceTree::Fold(path);
  auto it = Tree().endpoints.find(key);
  if (it == Tree().endpoints.end()) return plat::SetLastError(plat::kErrorFileNotFound), plat::kInvalidHandle;
  bool held = it->second.heldElsewhere;
  for (const auto& [handle, open] : Tree().openEndpoints)
    held = held || (open.key == key && (shareMode == 0 || open.share == 0));
  if (held) return plat::SetLastError(plat::kErrorSharingViolation), plat::kInvalidHandle;
  plat::Handle h = machine().NewHandle();
  Tree().openEndpoints[Id(h)] = {key, shareMode};
  plat::SetLastError(plat::kErrorSuccess);
  return h;
}

bool CloseDevicePath(plat::Handle h) { return Tree().openEndpoints.erase(Id(h)) != 0; }

}  // namespace sim

namespace plat {

bool DeviceIoControl(Handle device, uint32_t code, const void*, uint32_t, void* out, uint32_t outBytes,
                     uint32_t& returned) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("DeviceIoControl", std::to_wstring(code))) return false;
  auto open = sim::Tree().openEndpoints.find(sim::Id(device));
  if (open == sim::Tree().openEndpoints.end()) return SetLastError(kErrorInvalidHandle), false;
  const sim::DeviceTree::Endpoint& e = sim::Tree().endpoints[open->second.key];
  if (code != e.ioctl) return SetLastError(sim::kErrorInvalidFunction), false;
  if (e.queryError) return SetLastError(*e.queryError), false;
  returned = static_cast<uint32_t>(std::min<size_t>(e.reply.size(), outBytes));
  std::memcpy(out, e.reply.data(), returned);
  return true;
}

}  // namespace plat
