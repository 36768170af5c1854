#include "engine/package_files.h"

#include <algorithm>

#include "base/ascii_case.h"
#include "engine/folder_entries.h"

bool ListNames(const std::wstring& list, const std::wstring& name) {
  return (L";" + list).find(L";" + name + L";") != std::wstring::npos;
}

bool CollectPackageFiles(const std::wstring& folder, const std::wstring& copyList, const std::wstring& protectedList,
                         std::vector<PackageFile>& files) {
  return ForEachFolderEntry(folder, [&](const std::wstring& name, bool isFolder) {
    if (isFolder) {
      CollectPackageFiles(folder + name + L"\\", copyList, protectedList, files);  // flattened into one destination
      return;
    }
    const std::wstring lower = LowerAscii(name);
    if (!ListNames(copyList, lower)) return;
    files.push_back({folder, name, ListNames(protectedList, lower)});
  });
}

std::vector<std::wstring> MissingPackageFiles(const std::vector<PackageFile>& files, const std::wstring& copyList) {
  std::vector<std::wstring> missing;
  for (size_t start = 0, end; (end = copyList.find(L';', start)) != std::wstring::npos; start = end + 1) {
    const std::wstring name = copyList.substr(start, end - start);
    const std::wstring lower = LowerAscii(name);
    if (!name.empty() && std::none_of(files.begin(), files.end(),
                                      [&](const PackageFile& file) { return LowerAscii(file.name) == lower; }))
      missing.push_back(name);
  }
  return missing;
}
