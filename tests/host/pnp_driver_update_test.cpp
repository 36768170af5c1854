#include <gtest/gtest.h>

#include <stdexcept>

#include "catalog/driver_setup_helper.h"
#include "catalog/pnp_driver_updater.h"
#include "platform/error.h"
#include "sample_package.h"
#include "sim_test.h"

namespace {

using Ids = std::vector<std::wstring>;
const std::wstring kInf = L"C:\\Setup\\24Pin\\X64\\24Pin.inf";
const std::wstring kId = L"USBPRINT\\QuillexQX-630K7B2E";
const plat::Guid kPrinterClass = kPrinterClassGuid;
constexpr uint32_t kErrorNoDriverSelected = 0xE0000203;  // SetupAPI: the INF has no driver for the ID

class PnpDriverUpdateTest : public SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    // The update's own steps, as a process that Windows lets install devices
    // sees them; the installer's 32-bit process on x64 has a case of its own.
    M().kernel.processArchitecture = plat::kProcessorArchitectureAmd64;
    WriteInf("[Manufacturer]\n\"Quillex\" = Quillex_Tech, NTamd64\n");
    M().devices.SetInfClass(kInf, L"Printer", kPrinterClass);
  }
  void WriteInf(const std::string& manufacturers) {
    M().fs.AddFile(kInf, "[Version]\nClass=Printer\n" + manufacturers +
                             "[Quillex_Tech.NTamd64]\n\"QX-630K\" = QX630K, usbprint\\quillexqx-630k7b2e\n"
                             "\"QX-630K USB\" = QX630K, USB\\VID_D23C&PID_0001\n");
  }
  static Ids Tree() {
    Ids ids;
    for (const auto& d : M().devices.devices) ids.push_back(d.instanceId);
    return ids;
  }
  static Ids UpdatedIds() {
    Ids ids;
    for (const auto& u : M().devices.updates) ids.push_back(u.hardwareId);
    return ids;
  }
};

TEST_F(PnpDriverUpdateTest, PackageInfPathForEachFamilyAndArchitecture) {
  EXPECT_EQ(CPnpDriverUpdater::GetPackageInfPath(Pin24), L"C:\\Setup\\24Pin\\X64\\24Pin.inf");
  EXPECT_EQ(CPnpDriverUpdater::GetPackageInfPath(Pin9), L"C:\\Setup\\9Pin\\X64\\9Pin.inf");
  M().kernel.nativeArchitecture = plat::kProcessorArchitectureIntel;
  EXPECT_EQ(CPnpDriverUpdater::GetPackageInfPath(Pin24), L"C:\\Setup\\24Pin\\i386\\24Pin.inf");
  EXPECT_EQ(CPnpDriverUpdater::GetPackageInfPath(Pin9Basic), L"C:\\Setup\\9Pin\\i386\\9Pin.inf");
  M().kernel.moduleFileName = L"QuillexSetup.exe";
  EXPECT_EQ(CPnpDriverUpdater::GetPackageInfPath(Pin24), L"24Pin\\i386\\24Pin.inf");
}

// What the 32-bit installer meets on 64-bit Windows: neither the update nor
// the root device's registration is allowed, so its caller takes the queue road.
TEST_F(PnpDriverUpdateTest, ThirtyTwoBitProcessOnX64CannotUpdateAndLeavesNoRootDevice) {
  M().kernel.processArchitecture = plat::kProcessorArchitectureIntel;
  M().devices.AddDevice(L"USB\\D\\1", {L"USBPRINT\\QuillexQX-630K7B2E"});
  CPnpDriverUpdater present;
  ASSERT_TRUE(present.FindMatchingDevice(kInf));
  EXPECT_FALSE(present.UpdateMatchedDevice());
  CPnpDriverUpdater gone;  // unplugged before the update: the root-device road
  ASSERT_TRUE(gone.FindMatchingDevice(kInf));
  M().devices.RemoveDevice(L"USB\\D\\1");
  EXPECT_FALSE(gone.UpdateMatchedDevice());
  EXPECT_EQ(M().transcript.Count("SetupDiCreateDeviceInfoW"), 1u);
  EXPECT_TRUE(M().devices.updates.empty());
  EXPECT_TRUE(Tree().empty());
}

TEST_F(PnpDriverUpdateTest, LastDeviceWhoseFirstIdMatchesWinsWithItsOwnLetterCase) {
  M().devices.AddDevice(L"USB\\A\\1", {L"USB\\VID_D23C&PID_0001&REV_0100"});
  M().devices.AddDevice(L"USB\\B\\1", {L"OTHER", L"USB\\VID_D23C&PID_0001"});  // matching only in second place
  M().devices.AddDevice(L"USB\\C\\1", {});                                       // no hardware IDs
  M().devices.AddDevice(L"USB\\D\\1", {L"USBPRINT\\QuillexQX-630K7B2E"});
  M().devices.AddDevice(L"USB\\E\\1", {L"USB\\VID_D23C&PID_0001&" + std::wstring(990, L'X')});  // over 2000 bytes
  CPnpDriverUpdater updater;
  ASSERT_TRUE(updater.FindMatchingDevice(kInf));
  EXPECT_EQ(M().devices.sets.size(), 1u);  // held for the update
  ASSERT_TRUE(updater.UpdateMatchedDevice());
  EXPECT_EQ(UpdatedIds(), Ids{kId});
  EXPECT_EQ(M().devices.Find(L"USB\\D\\1")->driverInf, kInf);
  updater.Reset();
  EXPECT_TRUE(M().devices.sets.empty());
}

TEST_F(PnpDriverUpdateTest, NothingToMatch) {
  M().devices.AddDevice(L"USB\\D\\1", {kId});
  CPnpDriverUpdater updater;
  EXPECT_FALSE(updater.FindMatchingDevice(L"C:\\Setup\\none.inf"));
  EXPECT_EQ(M().transcript.Count("SetupDiGetINFClassW"), 0u);

  WriteInf("[Manufacturer]\n[Strings]\n");  // no manufacturer entry, so no model
  EXPECT_FALSE(updater.FindMatchingDevice(kInf));

  WriteInf("[Manufacturer]\nQuillex = Quillex_Tech, NTamd64\n");
  M().devices.infClasses.clear();
  EXPECT_FALSE(updater.FindMatchingDevice(kInf));
  EXPECT_EQ(M().transcript.Count("SetupDiGetClassDevsW"), 1u);  // only the empty-list attempt enumerated
}

TEST_F(PnpDriverUpdateTest, WaitCursorIsShownDuringTheUpdateAndRestoredEvenOnAnException) {
  M().devices.AddDevice(L"USB\\D\\1", {kId});
  plat::Handle during = nullptr;
  M().devices.duringUpdate = [&] { during = M().cursor.shown; };
  CPnpDriverUpdater updater;
  ASSERT_TRUE(updater.FindMatchingDevice(kInf));
  EXPECT_TRUE(updater.UpdateMatchedDevice());
  EXPECT_EQ(during, sim::CursorState::System(plat::kIdcWait));
  EXPECT_EQ(M().cursor.shown, sim::CursorState::System(plat::kIdcArrow));

  M().devices.duringUpdate = [] { throw std::runtime_error("update"); };
  EXPECT_THROW(updater.UpdateMatchedDevice(), std::runtime_error);
  EXPECT_EQ(M().cursor.shown, sim::CursorState::System(plat::kIdcArrow));
}

TEST_F(PnpDriverUpdateTest, InfDeletedBeforeTheUpdateMeansNoUpdate) {
  M().devices.AddDevice(L"USB\\D\\1", {kId});
  CPnpDriverUpdater updater;
  ASSERT_TRUE(updater.FindMatchingDevice(kInf));
  M().fs.Remove(kInf);
  EXPECT_FALSE(updater.UpdateMatchedDevice());
  EXPECT_EQ(M().transcript.Count("UpdateDriverForPlugAndPlayDevicesW"), 0u);
  EXPECT_EQ(M().transcript.Count("SetupDiCreateDeviceInfoW"), 0u);
}

TEST_F(PnpDriverUpdateTest, DeviceGoneBeforeTheUpdateTakesTheRootRoadAndIsRemovedWhenItFails) {
  M().devices.AddDevice(L"USB\\D\\1", {kId});
  CPnpDriverUpdater updater;
  ASSERT_TRUE(updater.FindMatchingDevice(kInf));
  M().devices.RemoveDevice(L"USB\\D\\1");
  M().devices.updateError = kErrorNoDriverSelected;
  EXPECT_FALSE(updater.UpdateMatchedDevice());
  EXPECT_EQ(plat::GetLastError(), kErrorNoDriverSelected);  // kept across removal and destruction
  EXPECT_EQ(Tree(), Ids{});
  EXPECT_EQ(M().transcript.Count("SetupDiCallClassInstaller"), 2u);  // register, then remove
}

TEST_F(PnpDriverUpdateTest, RootDeviceCarriesOnlyTheIdAndGetsTheDriver) {
  M().devices.updateNeedsReboot = true;
  bool reboot = false;
  ASSERT_TRUE(CDriverSetupHelper::UpdateDeviceDriver(kInf, kId, &reboot));
  EXPECT_TRUE(reboot);
  ASSERT_EQ(Tree(), Ids{L"ROOT\\PRINTER\\0000"});
  EXPECT_EQ(M().devices.devices[0].hardwareIds, Ids{kId});
  EXPECT_EQ(M().devices.devices[0].driverInf, kInf);
  EXPECT_EQ(M().transcript.Calls().back().op, "SetupDiDestroyDeviceInfoList");
}

TEST_F(PnpDriverUpdateTest, RootRoadStopsAtTheFirstFailingStep) {
  M().faults.Fail("SetupDiCallClassInstaller", plat::kErrorAccessDenied);
  EXPECT_FALSE(CDriverSetupHelper::CreateRootDeviceAndUpdate(kId, kInf, nullptr));
  EXPECT_EQ(plat::GetLastError(), plat::kErrorAccessDenied);
  EXPECT_EQ(M().transcript.Count("UpdateDriverForPlugAndPlayDevicesW"), 0u);

  EXPECT_FALSE(CDriverSetupHelper::CreateRootDeviceAndUpdate(std::wstring(1999, L'X'), kInf, nullptr));
  EXPECT_EQ(plat::GetLastError(), plat::kErrorInvalidParameter);  // ID and two terminators exceed 2000

  M().devices.infClasses.clear();
  EXPECT_FALSE(CDriverSetupHelper::CreateRootDeviceAndUpdate(kId, kInf, nullptr));
  EXPECT_EQ(Tree(), Ids{});
  EXPECT_TRUE(M().devices.sets.empty());
}

TEST_F(PnpDriverUpdateTest, PresenceComparesEveryIdExactlyAndSkipsDevicesWithoutIds) {
  M().devices.AddDevice(L"USB\\A\\1", {});
  M().devices.AddDevice(L"USB\\B\\1", {L"OTHER", kId});
  EXPECT_TRUE(CDriverSetupHelper::IsDevicePresent(kId));
  EXPECT_FALSE(CDriverSetupHelper::IsDevicePresent(L"usbprint\\quillexqx-630k7b2e"));
  EXPECT_EQ(plat::GetLastError(), plat::kErrorNoMoreItems);
  EXPECT_FALSE(CDriverSetupHelper::IsDevicePresent(L"USBPRINT"));
  EXPECT_TRUE(M().devices.sets.empty());
}

TEST_F(PnpDriverUpdateTest, PresenceSearchStopsAtAnyOtherPropertyError) {
  M().devices.AddDevice(L"USB\\A\\1", {L"OTHER"});
  M().devices.AddDevice(L"USB\\B\\1", {kId});
  M().faults.Fail("SetupDiGetDeviceRegistryPropertyW", plat::kErrorAccessDenied);
  EXPECT_FALSE(CDriverSetupHelper::IsDevicePresent(kId));
  EXPECT_EQ(plat::GetLastError(), plat::kErrorAccessDenied);
  EXPECT_EQ(M().transcript.Count("SetupDiEnumDeviceInfo"), 1u);

  // A size that never suffices ends the asking instead of looping.
  M().faults.Fail("SetupDiGetDeviceRegistryPropertyW", plat::kErrorInsufficientBuffer, 2, 1000);
  EXPECT_FALSE(CDriverSetupHelper::IsDevicePresent(kId));
  EXPECT_EQ(plat::GetLastError(), plat::kErrorInsufficientBuffer);
}

TEST_F(PnpDriverUpdateTest, PresentDeviceIsUpdatedInPlace) {
  M().devices.AddDevice(L"USB\\B\\1", {kId});
  M().devices.updateNeedsReboot = true;
  EXPECT_TRUE(CDriverSetupHelper::UpdateDeviceDriver(kInf, kId, nullptr));  // the reboot flag is dropped
  M().devices.updateError = kErrorNoDriverSelected;
  bool reboot = false;
  EXPECT_FALSE(CDriverSetupHelper::UpdateDeviceDriver(kInf, kId, &reboot));
  EXPECT_FALSE(reboot);
  EXPECT_EQ(Tree(), Ids{L"USB\\B\\1"});  // no root device
  EXPECT_EQ(M().transcript.Count("SetupDiCreateDeviceInfoList"), 0u);
}

}  // namespace
