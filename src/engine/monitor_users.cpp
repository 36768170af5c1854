#include "engine/monitor_users.h"

#include "base/ascii_case.h"
#include "catalog/package_root.h"
#include "engine/driver_package.h"
#include "engine/driver_registration.h"
#include "engine/install_job.h"
#include "platform/error.h"
#include "platform/files.h"

namespace {

const wchar_t kModelDataSuffix[] = L".gpd";
const wchar_t kSharedDataFile[] = L"stdnames.gpd";

std::wstring LeafName(const std::wstring& path) { return path.substr(path.find_last_of(L"\\/") + 1); }

}  // namespace

std::wstring InstalledBranchFolder() {
  const std::wstring root = GetPackageRootDirectory();
  return root.empty() ? L"" : root + PackageBranchBelowRoot(kInstalledFamily);
}

DriverOwner OwnerOfDriver(const plat::DriverInfo3& driver, const std::wstring& branch) {
  const std::wstring name = LeafName(driver.dataFile), lower = LowerAscii(name);
  if (!lower.ends_with(kModelDataSuffix) || lower == kSharedDataFile) return DriverOwner::Other;
  if (branch.empty()) return DriverOwner::Unknown;
  const uint32_t attributes = plat::GetFileAttributesW(branch + name);
  if (attributes != plat::kInvalidFileAttributes)
    return (attributes & plat::kFileAttributeDirectory) ? DriverOwner::Other : DriverOwner::Ours;
  const uint32_t error = plat::GetLastError();
  return error == plat::kErrorFileNotFound || error == plat::kErrorPathNotFound ? DriverOwner::Other
                                                                                  : DriverOwner::Unknown;
}

bool ReadMonitorUsers(MonitorUsers& users) {
  std::vector<plat::DriverInfo3> drivers;
  if (!plat::EnumPrinterDriversW(drivers)) return false;
  const std::wstring monitor = LowerAscii(kLanguageMonitorName), branch = InstalledBranchFolder();
  for (const plat::DriverInfo3& driver : drivers) {
    if (!driver.monitorName || LowerAscii(*driver.monitorName) != monitor) continue;
    (OwnerOfDriver(driver, branch) == DriverOwner::Ours ? users.ours : users.others).push_back(driver.name);
  }
  return true;
}
