#include "engine/folder_copy.h"

#include "engine/folder_entries.h"
#include "engine/protected_copy.h"

bool CopyFolderTree(const std::wstring& source, const std::wstring& destination) {
  bool result = false;
  ForEachFolderEntry(source, [&](const std::wstring& name, bool isFolder) {
    result = isFolder ? CopyFolderTree(source + name + L"\\", destination)
                      : CopyFileProtected(source + name, destination + name);
  });
  return result;
}
