#include "engine/folder_entries.h"

#include "platform/files.h"

bool ForEachFolderEntry(const std::wstring& folder,
                        const std::function<void(const std::wstring& name, bool isFolder)>& visit) {
  plat::FindData entry;
  plat::FindHandle find(plat::FindFirstFileW(folder + L"*.*", entry));
  if (!find) return false;
  do {
    if (entry.fileName == L"." || entry.fileName == L"..") continue;
    // A junction or link may lead back up the tree: a walk would never end.
    if (entry.attributes & plat::kFileAttributeReparsePoint) continue;
    visit(entry.fileName, (entry.attributes & plat::kFileAttributeDirectory) != 0);
  } while (plat::FindNextFileW(find.get(), entry));
  return true;
}
