#include "catalog/pnp_driver_updater.h"

#include <algorithm>
#include <vector>

#include "base/executable_dir.h"
#include "base/wait_cursor.h"
#include "catalog/driver_setup_helper.h"
#include "catalog/inf_file_helper.h"
#include "catalog/package_root.h"
#include "catalog/platform_probe.h"

namespace {

constexpr uint32_t kClassNameUnits = 260;
constexpr uint32_t kHardwareIdBufferUnits = 2000 / sizeof(char16_t);  // 2000 bytes of UTF-16

// The first string of the device's hardware IDs; empty when they cannot be
// read or do not fit the buffer.
std::wstring FirstHardwareId(plat::Handle set, const plat::DevInfoData& device) {
  std::vector<wchar_t> ids(kHardwareIdBufferUnits, L'\0');
  if (!plat::SetupDiGetDeviceRegistryPropertyW(set, device, plat::kSpdrpHardwareId, ids.data(),
                                               kHardwareIdBufferUnits, nullptr))
    return {};
  return std::wstring(ids.begin(), std::find(ids.begin(), ids.end(), L'\0'));
}

}  // namespace

void CPnpDriverUpdater::Reset() {
  m_hDevInfo.reset();
  m_strInfPath.clear();
  m_strHardwareId.clear();
}

std::wstring CPnpDriverUpdater::GetPackageInfPath(PinFamily pinFamily) {
  const bool is64 = IsNative64Bit();
  const std::wstring family = pinFamily == Pin24 ? L"24Pin" : L"9Pin";
  return GetPackageRootDirectory() + family + (is64 ? L"\\X64\\" : L"\\i386\\") + family + L".inf";
}

bool CPnpDriverUpdater::FindMatchingDevice(const std::wstring& infPath) {
  Reset();
  std::vector<std::wstring> models;
  if (!ReadCatalogModels(infPath, models)) return false;
  m_strInfPath = infPath;

  plat::Guid classGuid;
  wchar_t className[kClassNameUnits] = {};
  if (!plat::SetupDiGetINFClassW(infPath, classGuid, className, kClassNameUnits)) return false;
  m_hDevInfo = plat::DevInfoHandle(
      plat::SetupDiGetClassDevsW(&classGuid, plat::kDigcfPresent | plat::kDigcfAllClasses | plat::kDigcfProfile));
  if (!m_hDevInfo) return false;

  for (uint32_t index = 0;; ++index) {
    plat::DevInfoData device;
    device.size = plat::kDevInfoDataSize;
    if (!plat::SetupDiEnumDeviceInfo(m_hDevInfo.get(), index, device)) break;
    std::wstring firstId = FirstHardwareId(m_hDevInfo.get(), device);
    if (!firstId.empty() && CInfFileHelper::MatchHardwareId(models, firstId)) m_strHardwareId = firstId;
  }
  return !m_strHardwareId.empty();
}

bool CPnpDriverUpdater::UpdateMatchedDevice() {
  CWaitCursor wait;
  return CDriverSetupHelper::UpdateDeviceDriver(m_strInfPath, m_strHardwareId, nullptr);
}
