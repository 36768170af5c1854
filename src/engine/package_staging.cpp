#include "engine/package_staging.h"

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

// The lists in lower case, and what the protected copies gave so far.
struct PackageCopy {
  std::wstring copyList;
  std::wstring protectedList;
  bool anyProtectedCopied = false;
  bool anyProtectedFailed = false;
};

void CopyPackageFolder(const std::wstring& folder, const std::wstring& destination, PackageCopy& copy) {
  ForEachFolderEntry(folder, [&](const std::wstring& name, bool isFolder) {
    if (isFolder) {
      CopyPackageFolder(folder + name + L"\\", destination, copy);  // flattened into the one destination
      return;
    }
    const std::wstring lower = LowerAscii(name);
    if (copy.copyList.find(lower) == std::wstring::npos) return;
    if (copy.protectedList.find(lower) == std::wstring::npos) {
      plat::CopyFileW(folder + name, destination + name, true);  // an existing file is left as it is
      return;
    }
    if (CopyFileProtected(folder + name, destination + name))
      copy.anyProtectedCopied = true;
    else
      copy.anyProtectedFailed = true;
  });
}

// The lower-case names of every file in `folder` and its sub-folders.
void CollectFileNames(const std::wstring& folder, std::wstring& names) {
  ForEachFolderEntry(folder, [&](const std::wstring& name, bool isFolder) {
    if (isFolder)
      CollectFileNames(folder + name + L"\\", names);
    else
      names += L";" + LowerAscii(name) + L";";
  });
}

// The first name of the copy list that the branch lacks; empty when it is complete.
std::wstring FirstMissingFile(const std::wstring& sourceFolder, const std::wstring& copyList) {
  std::wstring present;
  CollectFileNames(sourceFolder, present);
  for (size_t start = 0, end; (end = copyList.find(L';', start)) != std::wstring::npos; start = end + 1) {
    const std::wstring name = copyList.substr(start, end - start);
    if (!name.empty() && present.find(L";" + LowerAscii(name) + L";") == std::wstring::npos) return name;
  }
  return {};
}

bool CopyInfToStore(const DriverPackage& package) {
  return plat::SetupCopyOEMInfW(package.infPath, package.infFolder, plat::kSpostPath, 0);
}

}  // namespace

bool CopyPackageFiles(const std::wstring& sourceFolder, const std::wstring& destinationFolder,
                      const std::wstring& dataFile, PinFamily pinFamily) {
  PackageCopy copy;
  copy.copyList = LowerAscii(PackageCopyList(pinFamily, dataFile));
  copy.protectedList = LowerAscii(PackageProtectedList(pinFamily, dataFile));
  CopyPackageFolder(sourceFolder, destinationFolder, copy);
  return copy.anyProtectedCopied && !copy.anyProtectedFailed;
}

bool StageDriverPackage(PinFamily pinFamily, const std::wstring& dataFile) {
  DriverPackage package;
  if (!ResolveDriverPackage(pinFamily, dataFile, package)) return false;
  // A branch lacking a file of its list would leave a driver that cannot
  // load, or one mixed with files of an older install: nothing is copied.
  const std::wstring missing = FirstMissingFile(package.sourceFolder, PackageCopyList(pinFamily, dataFile));
  if (!missing.empty()) {
    WriteInstallLog(L"驱动文件缺失：" + package.sourceFolder + missing, false);
    ShowErrorCode(L"2");
    return false;
  }
  if (!CopyPackageFiles(package.sourceFolder, package.destinationFolder, dataFile, pinFamily)) return false;
  bool staged = CopyInfToStore(package);
  if (!staged && plat::GetLastError() == plat::kErrorNotFound) staged = CopyInfToStore(package);
  if (!staged) {
    const uint32_t error = plat::GetLastError();  // the caller reads why the INF was refused
    ShowErrorCode(L"3");
    plat::SetLastError(error);
  }
  return staged;
}
