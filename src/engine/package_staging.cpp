#include "engine/package_staging.h"

#include <algorithm>
#include <vector>

#include "engine/driver_package.h"
#include "engine/error_report.h"
#include "engine/folder_entries.h"
#include "engine/install_log.h"
#include "engine/protected_copy.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/inf_store.h"

namespace {

// The lists hold ASCII names; other letters are left as they are.
std::wstring LowerAscii(std::wstring text) {
  for (wchar_t& c : text)
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  return text;
}

// A file of the package tree that qualifies for the copy.
struct PackageFile {
  std::wstring folder;  // ending in "\"
  std::wstring name;
  bool isProtected = false;
};

// The lists in lower case.
struct PackageLists {
  std::wstring copyList;
  std::wstring protectedList;
};

// True when the ";"-closed `list` names `name` as one whole entry, both in
// lower case: a name that is only part of an entry ("drv.dll" of
// "unidrv.dll") is not listed.
bool ListNames(const std::wstring& list, const std::wstring& name) {
  return (L";" + list).find(L";" + name + L";") != std::wstring::npos;
}

// The files of `folder`'s tree named in the copy list, in enumeration order;
// false when `folder` itself cannot be listed.
bool CollectPackageFiles(const std::wstring& folder, const PackageLists& lists, std::vector<PackageFile>& files) {
  return ForEachFolderEntry(folder, [&](const std::wstring& name, bool isFolder) {
    if (isFolder) {
      CollectPackageFiles(folder + name + L"\\", lists, files);  // flattened into the one destination
      return;
    }
    const std::wstring lower = LowerAscii(name);
    if (!ListNames(lists.copyList, lower)) return;
    files.push_back({folder, name, ListNames(lists.protectedList, lower)});
  });
}

// The first name of the copy list (as the list spells it) that no collected
// file bears; empty when the branch is complete.
std::wstring FirstMissingFile(const std::vector<PackageFile>& files, const std::wstring& copyList) {
  for (size_t start = 0, end; (end = copyList.find(L';', start)) != std::wstring::npos; start = end + 1) {
    const std::wstring name = copyList.substr(start, end - start);
    const std::wstring lower = LowerAscii(name);
    if (!name.empty() && std::none_of(files.begin(), files.end(),
                                      [&](const PackageFile& file) { return LowerAscii(file.name) == lower; }))
      return name;
  }
  return {};
}

// A library of no bytes cannot be loaded; in the spooler's folder it would
// replace a working one, or stand in the way of the next good package.
bool IsEmptyLibrary(const PackageFile& file) {
  if (!LowerAscii(file.name).ends_with(L".dll")) return false;
  plat::FileHandle handle(plat::CreateFileW(file.folder + file.name, plat::kGenericRead,
                                            plat::kFileShareRead | plat::kFileShareWrite, plat::kOpenExisting));
  uint64_t size = 0;
  return handle && plat::GetFileSize(handle.get(), size) && size == 0;
}

// Protected files go through CopyFileProtected, the others never replace an
// existing file; true when a protected file arrived and none failed.
bool CopyCollectedFiles(const std::vector<PackageFile>& files, const std::wstring& destination) {
  bool anyProtectedCopied = false, anyProtectedFailed = false;
  for (const PackageFile& file : files) {
    if (!file.isProtected) {
      plat::CopyFileW(file.folder + file.name, destination + file.name, true);  // an existing file is left as it is
      continue;
    }
    if (CopyFileProtected(file.folder + file.name, destination + file.name))
      anyProtectedCopied = true;
    else
      anyProtectedFailed = true;
  }
  return anyProtectedCopied && !anyProtectedFailed;
}

bool CopyInfToStore(const DriverPackage& package) {
  return plat::SetupCopyOEMInfW(package.infPath, package.infFolder, plat::kSpostPath, 0);
}

// Lists the branch's files, refuses the package before anything is written
// (an unlistable folder, an empty library, and with `wholeList` a listed
// file the branch lacks), then copies.
bool CopyPackage(const std::wstring& sourceFolder, const std::wstring& destinationFolder,
                 const std::wstring& dataFile, PinFamily pinFamily, bool wholeList) {
  const PackageLists lists{LowerAscii(PackageCopyList(pinFamily, dataFile)),
                           LowerAscii(PackageProtectedList(pinFamily, dataFile))};
  std::vector<PackageFile> files;
  if (!CollectPackageFiles(sourceFolder, lists, files)) {
    WriteInstallLog(L"FindFirstFileW " + sourceFolder, true);
    ShowErrorCode(L"2");
    return false;
  }
  // A branch lacking a file of its list would leave a driver that cannot
  // load, or one mixed with files of an older install.
  const std::wstring missing = wholeList ? FirstMissingFile(files, PackageCopyList(pinFamily, dataFile)) : L"";
  if (!missing.empty()) {
    WriteInstallLog(L"驱动文件缺失：" + sourceFolder + missing, false);
    ShowErrorCode(L"2");
    return false;
  }
  auto empty = std::find_if(files.begin(), files.end(), IsEmptyLibrary);
  if (empty != files.end()) {
    WriteInstallLog(L"驱动文件为空: " + empty->folder + empty->name, false);
    ShowErrorCode(L"2");
    return false;
  }
  return CopyCollectedFiles(files, destinationFolder);
}

}  // namespace

bool CopyPackageFiles(const std::wstring& sourceFolder, const std::wstring& destinationFolder,
                      const std::wstring& dataFile, PinFamily pinFamily) {
  return CopyPackage(sourceFolder, destinationFolder, dataFile, pinFamily, false);
}

bool StageDriverPackage(PinFamily pinFamily, const std::wstring& dataFile) {
  DriverPackage package;
  if (!ResolveDriverPackage(pinFamily, dataFile, package)) return false;
  if (!CopyPackage(package.sourceFolder, package.destinationFolder, dataFile, pinFamily, true)) return false;
  bool staged = CopyInfToStore(package);
  if (!staged && plat::GetLastError() == plat::kErrorNotFound) staged = CopyInfToStore(package);
  if (!staged) {
    const uint32_t error = plat::GetLastError();  // the caller reads why the INF was refused
    ShowErrorCode(L"3");
    plat::SetLastError(error);
  }
  return staged;
}
