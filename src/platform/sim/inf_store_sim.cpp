#include "platform/error.h"
#include "platform/inf_store.h"
#include "platform/sim/machine.h"

namespace sim {

const InfStore::Entry* InfStore::FindContent(const std::string& content) const {
  for (const Entry& e : staged)
    if (e.content == content) return &e;
  return nullptr;
}

const InfStore::Entry& InfStore::Stage(Entry entry) {
  entry.publishedName = L"oem" + std::to_wstring(published++) + L".inf";
  staged.push_back(std::move(entry));
  return staged.back();
}

const InfStore::Entry* InfStore::Find(const std::wstring& publishedName) const {
  for (const Entry& e : staged)
    if (FileSystem::Key(e.publishedName) == FileSystem::Key(publishedName)) return &e;
  return nullptr;
}

}  // namespace sim

namespace plat {

bool SetupCopyOEMInfW(const std::wstring& sourceInf, const std::wstring& mediaLocation, uint32_t mediaType,
                      uint32_t copyStyle, std::wstring* stagedName) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("SetupCopyOEMInfW", sourceInf + L" " + mediaLocation)) return false;
  const sim::FileSystem::Node* inf = sim::machine().fs.Find(sourceInf);
  if (!inf || inf->directory) {
    SetLastError(kErrorFileNotFound);
    return false;
  }
  sim::InfStore& store = sim::machine().infStore;
  const sim::InfStore::Entry* entry = store.FindContent(inf->data);
  const bool existed = entry != nullptr;
  if (!existed) entry = &store.Stage({L"", sourceInf, mediaLocation, mediaType, copyStyle, inf->data});
  if (stagedName) *stagedName = entry->publishedName;
  if (existed && (copyStyle & kSpCopyNoOverwrite)) {
    SetLastError(kErrorFileExists);
    return false;
  }
  return true;
}

bool SetupUninstallOEMInfW(const std::wstring& stagedName) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("SetupUninstallOEMInfW", stagedName)) return false;
  sim::InfStore& store = sim::machine().infStore;
  const sim::InfStore::Entry* entry = store.Find(stagedName);
  if (!entry) {
    SetLastError(kErrorFileNotFound);
    return false;
  }
  for (const sim::DeviceTree::Device& device : sim::machine().devices.devices)
    if (!device.driverInf.empty() && sim::FileSystem::Key(device.driverInf) == sim::FileSystem::Key(entry->sourceInf)) {
      SetLastError(kErrorInfInUseByDevices);
      return false;
    }
  store.staged.erase(store.staged.begin() + (entry - store.staged.data()));
  return true;
}

}  // namespace plat
