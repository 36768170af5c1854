#include "catalog/driver_setup_helper.h"

#include <algorithm>
#include <vector>

#include "platform/devinst.h"
#include "platform/error.h"
#include "platform/files.h"

namespace {

constexpr uint32_t kClassNameUnits = 1024;
// The root device's hardware-ID buffer: the ID and two terminators must fit.
constexpr size_t kRootHardwareIdUnits = 2000;

// Destroys the set while keeping the last error its users left.
void DestroyKeepingError(plat::DevInfoHandle& set) {
  const uint32_t error = plat::GetLastError();
  set.reset();
  plat::SetLastError(error);
}

// The device's hardware IDs as the multi-string the platform returns, asking
// for the size first. False with the last error when they cannot be read; a
// size that does not grow between two answers ends the asking.
bool ReadHardwareIds(plat::Handle set, const plat::DevInfoData& device, std::vector<wchar_t>& ids) {
  ids.clear();
  uint32_t required = 0;
  bool ok = plat::SetupDiGetDeviceRegistryPropertyW(set, device, plat::kSpdrpHardwareId, nullptr, 0, &required);
  while (!ok && plat::GetLastError() == plat::kErrorInsufficientBuffer && required > ids.size()) {
    ids.assign(required, L'\0');
    ok = plat::SetupDiGetDeviceRegistryPropertyW(set, device, plat::kSpdrpHardwareId, ids.data(),
                                                 static_cast<uint32_t>(ids.size()), &required);
  }
  return ok;
}

// Whether the multi-string lists `id` as one of its strings.
bool ListsId(const std::vector<wchar_t>& ids, const std::wstring& id) {
  auto it = ids.begin();
  while (it != ids.end() && *it != L'\0') {
    auto end = std::find(it, ids.end(), L'\0');
    if (std::wstring(it, end) == id) return true;
    it = end == ids.end() ? end : end + 1;
  }
  return false;
}

// Creates the device element, gives it the hardware ID, registers it and
// updates its driver; a registered device whose update fails is removed.
bool RegisterAndUpdate(plat::Handle set, const wchar_t* className, const plat::Guid& classGuid,
                       const std::wstring& hardwareId, const std::wstring& infPath, bool& reboot) {
  plat::DevInfoData device;
  device.size = plat::kDevInfoDataSize;
  if (!plat::SetupDiCreateDeviceInfoW(set, className, classGuid, plat::kDicdGenerateId, device)) return false;
  if (hardwareId.size() + 2 > kRootHardwareIdUnits) {
    plat::SetLastError(plat::kErrorInvalidParameter);
    return false;
  }
  std::vector<wchar_t> ids(kRootHardwareIdUnits, L'\0');
  std::copy(hardwareId.begin(), hardwareId.end(), ids.begin());
  if (!plat::SetupDiSetDeviceRegistryPropertyW(set, device, plat::kSpdrpHardwareId, ids.data(),
                                               static_cast<uint32_t>(hardwareId.size() + 2)))
    return false;
  if (!plat::SetupDiCallClassInstaller(plat::kDifRegisterDevice, set, device)) return false;
  if (plat::UpdateDriverForPlugAndPlayDevicesW(hardwareId, infPath, plat::kInstallFlagForce, &reboot)) return true;
  const uint32_t error = plat::GetLastError();
  plat::SetupDiCallClassInstaller(plat::kDifRemove, set, device);
  plat::SetLastError(error);
  return false;
}

}  // namespace

bool CDriverSetupHelper::UpdateDeviceDriver(const std::wstring& infPath, const std::wstring& hardwareId,
                                            bool* rebootRequired) {
  {
    plat::FindData found;
    plat::FindHandle find(plat::FindFirstFileW(infPath, found));
    if (!find) return false;
  }
  if (!IsDevicePresent(hardwareId)) return CreateRootDeviceAndUpdate(hardwareId, infPath, rebootRequired);
  bool reboot = false;
  if (!plat::UpdateDriverForPlugAndPlayDevicesW(hardwareId, infPath, plat::kInstallFlagForce, &reboot)) return false;
  if (rebootRequired) *rebootRequired = reboot;
  return true;
}

bool CDriverSetupHelper::IsDevicePresent(const std::wstring& hardwareId) {
  plat::DevInfoHandle set(plat::SetupDiGetClassDevsW(nullptr, plat::kDigcfPresent | plat::kDigcfAllClasses));
  if (!set) return false;
  bool found = false;
  std::vector<wchar_t> ids;
  for (uint32_t index = 0; !found; ++index) {
    plat::DevInfoData device;
    device.size = plat::kDevInfoDataSize;
    if (!plat::SetupDiEnumDeviceInfo(set.get(), index, device)) break;
    if (!ReadHardwareIds(set.get(), device, ids)) {
      if (plat::GetLastError() == plat::kErrorInvalidData) continue;  // a device without hardware IDs
      break;
    }
    found = ListsId(ids, hardwareId);
  }
  DestroyKeepingError(set);
  return found && plat::GetLastError() == plat::kErrorSuccess;
}

bool CDriverSetupHelper::CreateRootDeviceAndUpdate(const std::wstring& hardwareId, const std::wstring& infPath,
                                                   bool* rebootRequired) {
  plat::Guid classGuid;
  wchar_t className[kClassNameUnits] = {};
  if (!plat::SetupDiGetINFClassW(infPath, classGuid, className, kClassNameUnits)) return false;
  plat::DevInfoHandle set(plat::SetupDiCreateDeviceInfoList(&classGuid));
  if (!set) return false;
  bool reboot = false;
  const bool done = RegisterAndUpdate(set.get(), className, classGuid, hardwareId, infPath, reboot);
  DestroyKeepingError(set);
  if (!done || plat::GetLastError() != plat::kErrorSuccess) return false;
  if (rebootRequired) *rebootRequired = reboot;
  return true;
}
