#include "engine/package_staging.h"

#include <algorithm>
#include <vector>

#include "base/ascii_case.h"
#include "engine/driver_package.h"
#include "engine/driver_registration.h"
#include "engine/package_files.h"
#include "engine/package_library.h"
#include "engine/pe_image.h"
#include "engine/protected_copy.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/inf_store.h"
#include "report/error_codes.h"
#include "report/error_report.h"
#include "report/install_log.h"
#include "report/install_steps.h"

namespace {

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

// Lists the branch's files and refuses the package before anything is
// written: an unlistable folder, an empty library, and with `wholeList` a
// listed file the branch lacks; with a `machine`, a library not built for it.
bool CollectCheckedFiles(const std::wstring& sourceFolder, const std::wstring& dataFile, PinFamily pinFamily,
                         bool wholeList, uint16_t machine, std::vector<PackageFile>& files) {
  if (!CollectPackageFiles(sourceFolder, LowerAscii(PackageCopyList(pinFamily, dataFile)),
                           LowerAscii(PackageProtectedList(pinFamily, dataFile)), files)) {
    WriteInstallLog(L"FindFirstFileW " + sourceFolder, true);
    ShowErrorCode(kCodeFileCopy);
    return false;
  }
  // A branch lacking a file of its list would leave a driver that cannot
  // load, or one mixed with files of an older install.
  const std::vector<std::wstring> missing =
      wholeList ? MissingPackageFiles(files, PackageCopyList(pinFamily, dataFile)) : std::vector<std::wstring>{};
  if (!missing.empty()) {
    WriteInstallLog(L"驱动文件缺失：" + sourceFolder + missing.front(), false);
    ShowErrorCode(kCodeFileCopy);
    return false;
  }
  auto empty = std::find_if(files.begin(), files.end(), IsEmptyLibrary);
  if (empty != files.end()) {
    WriteInstallLog(L"驱动文件为空: " + empty->folder + empty->name, false);
    ShowErrorCode(kCodeFileCopy);
    return false;
  }
  // A library the spooler of this Windows cannot load.
  auto foreign = std::find_if(files.begin(), files.end(), [machine](const PackageFile& file) {
    return machine && CheckPackageLibrary(file.folder, file.name, machine) != LibraryFault::None;
  });
  if (foreign != files.end()) {
    WriteInstallLog(L"驱动文件不适用于此 Windows：" + foreign->folder + foreign->name, false);
    ShowErrorCode(kCodeWrongPackage);
    return false;
  }
  return true;
}

}  // namespace

bool CopyPackageFiles(const std::wstring& sourceFolder, const std::wstring& destinationFolder,
                      const std::wstring& dataFile, PinFamily pinFamily) {
  std::vector<PackageFile> files;
  return CollectCheckedFiles(sourceFolder, dataFile, pinFamily, false, 0, files) &&
         CopyCollectedFiles(files, destinationFolder);
}

bool StageDriverPackage(PinFamily pinFamily, const std::wstring& dataFile) {
  DriverPackage package;
  if (!ResolveDriverPackage(pinFamily, dataFile, package)) {
    WriteInstallLog(L"GetPrinterDriverDirectoryW", true);
    ShowErrorCode(kCodeSpooler);
    return false;
  }
  ReportStep(InstallStep::PackageFiles, package.destinationFolder);
  const uint16_t machine = package.is64Bit ? kPeMachineAmd64 : kPeMachineI386;
  std::vector<PackageFile> files;
  if (!CollectCheckedFiles(package.sourceFolder, dataFile, pinFamily, true, machine, files)) return false;
  KeepInstalledMonitor(package.spoolerDriverFolder);
  if (!CopyCollectedFiles(files, package.destinationFolder)) return false;
  ReportStep(InstallStep::InfStaging, package.infPath);
  bool staged = CopyInfToStore(package);
  if (!staged && plat::GetLastError() == plat::kErrorNotFound) staged = CopyInfToStore(package);
  if (!staged) {
    const uint32_t error = plat::GetLastError();  // the caller reads why the INF was refused
    ShowErrorCode(kCodeInfStaging);
    plat::SetLastError(error);
  }
  return staged;
}
