// The device-installation seam against Wine's setupapi.dll: device records and
// property sizes survive the conversion, root devices come and go, and the
// driver update finds no device for the package's IDs in a fresh prefix.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <vector>

#include "catalog/pnp_driver_updater.h"
#include "platform/devinst.h"
#include "wine_package.h"

namespace {

const plat::Guid kPrinterClass{0x4D36E979, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};
const wchar_t kTestId[] = L"QUILLEX\\WINE_TEST_DEVICE";

// The first hardware ID of every present device, read with the size protocol.
// The data need not end in a terminator: Wine's own root devices carry bytes
// of other text behind their list.
std::vector<std::wstring> PresentFirstIds() {
  std::vector<std::wstring> ids;
  plat::DevInfoHandle set(plat::SetupDiGetClassDevsW(nullptr, plat::kDigcfPresent | plat::kDigcfAllClasses));
  EXPECT_TRUE(set.valid());
  plat::DevInfoData device;
  device.size = plat::kDevInfoDataSize;
  for (uint32_t i = 0; plat::SetupDiEnumDeviceInfo(set.get(), i, device); ++i) {
    uint32_t units = 0;
    if (plat::SetupDiGetDeviceRegistryPropertyW(set.get(), device, plat::kSpdrpHardwareId, nullptr, 0, &units) ||
        GetLastError() != ERROR_INSUFFICIENT_BUFFER)
      continue;
    std::vector<wchar_t> buffer(units, L'\0');
    EXPECT_TRUE(plat::SetupDiGetDeviceRegistryPropertyW(set.get(), device, plat::kSpdrpHardwareId, buffer.data(),
                                                        units, &units));
    ids.emplace_back(buffer.begin(), std::find(buffer.begin(), buffer.end(), L'\0'));
  }
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_ITEMS));
  return ids;
}

bool Listed(const std::vector<std::wstring>& ids, const std::wstring& id) {
  return std::find(ids.begin(), ids.end(), id) != ids.end();
}

TEST(DevInstWinTest, PresentDevicesAnswerWithTheirHardwareIds) {
  std::vector<std::wstring> ids = PresentFirstIds();
  EXPECT_FALSE(ids.empty());  // Wine's own buses and monitor
  for (const std::wstring& id : ids) EXPECT_NE(id.find(L'\\'), std::wstring::npos) << id.c_str();
}

TEST(DevInstWinTest, RootDeviceIsRegisteredWithItsIdAndRemovedAgain) {
  plat::DevInfoHandle set(plat::SetupDiCreateDeviceInfoList(&kPrinterClass));
  ASSERT_TRUE(set.valid());
  plat::DevInfoData device;
  device.size = plat::kDevInfoDataSize;
  ASSERT_TRUE(plat::SetupDiCreateDeviceInfoW(set.get(), L"Printer", kPrinterClass, plat::kDicdGenerateId, device));
  std::wstring multi = std::wstring(kTestId) + L'\0' + L'\0';
  ASSERT_TRUE(plat::SetupDiSetDeviceRegistryPropertyW(set.get(), device, plat::kSpdrpHardwareId, multi.data(),
                                                      static_cast<uint32_t>(multi.size())));
  ASSERT_TRUE(plat::SetupDiCallClassInstaller(plat::kDifRegisterDevice, set.get(), device));
  EXPECT_TRUE(Listed(PresentFirstIds(), kTestId));
  ASSERT_TRUE(plat::SetupDiCallClassInstaller(plat::kDifRemove, set.get(), device));
  EXPECT_FALSE(Listed(PresentFirstIds(), kTestId));
}

TEST(DevInstWinTest, NoPresentDeviceMatchesThePackage) {
  std::wstring inf = wine_package::Create() + wine_package::ArchFolder() + L"24Pin.inf";
  CPnpDriverUpdater updater;
  EXPECT_FALSE(updater.FindMatchingDevice(inf));
  updater.Reset();
  EXPECT_FALSE(updater.FindMatchingDevice(inf + L".missing"));
}

}  // namespace
