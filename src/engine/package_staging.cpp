#include "engine/package_staging.h"

#include "engine/driver_package.h"
#include "engine/error_report.h"
#include "engine/folder_entries.h"
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
