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
  entry.publishedName = L"oem" + std::to_wstring(staged.size()) + L".inf";
  staged.push_back(std::move(entry));
  return staged.back();
}

}  // namespace sim

namespace plat {

bool SetupCopyOEMInfW(const std::wstring& sourceInf, const std::wstring& mediaLocation, uint32_t mediaType,
                      uint32_t copyStyle) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("SetupCopyOEMInfW", sourceInf + L" " + mediaLocation)) return false;
  const sim::FileSystem::Node* inf = sim::machine().fs.Find(sourceInf);
  if (!inf || inf->directory) {
    SetLastError(kErrorFileNotFound);
    return false;
  }
  sim::InfStore& store = sim::machine().infStore;
  if (!store.FindContent(inf->data))
    store.Stage({L"", sourceInf, mediaLocation, mediaType, copyStyle, inf->data});
  return true;
}

}  // namespace plat
