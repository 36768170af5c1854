// The simulated machine itself: the Windows semantics the other tests rely on.
#include <gtest/gtest.h>

#include "platform/devinst.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/inf_store.h"
#include "platform/kernel.h"
#include "platform/process.h"
#include "platform/sync.h"
#include "platform/profile.h"
#include "platform/registry.h"
#include "platform/services.h"
#include "platform/spooler.h"
#include "sample_package.h"
#include "sim_test.h"

namespace {

class SimMachineTest : public SimTest {};

TEST_F(SimMachineTest, NamesAreCaseInsensitiveAndKeepTheirCase) {
  M().fs.AddFile(L"C:\\Drv\\UniDrv.DLL", "x");
  EXPECT_NE(plat::GetFileAttributesW(L"c:\\DRV\\unidrv.dll"), plat::kInvalidFileAttributes);
  plat::FindData d;
  plat::FindHandle find(plat::FindFirstFileW(L"C:\\drv\\*.*", d));
  ASSERT_TRUE(find.valid());
  EXPECT_EQ(d.fileName, L".");
  ASSERT_TRUE(plat::FindNextFileW(find.get(), d));
  EXPECT_EQ(d.fileName, L"..");
  ASSERT_TRUE(plat::FindNextFileW(find.get(), d));
  EXPECT_EQ(d.fileName, L"UniDrv.DLL");
  EXPECT_FALSE(plat::FindNextFileW(find.get(), d));
  EXPECT_EQ(plat::GetLastError(), plat::kErrorNoMoreFiles);
}

TEST_F(SimMachineTest, EnumerationOrderCanBeChosen) {
  for (const wchar_t* n : {L"a", L"b", L"c"}) M().fs.AddFile(std::wstring(L"C:\\d\\") + n, "");
  M().fs.SetEnumerationOrder(L"C:\\d", {L"c", L"a"});
  EXPECT_EQ(M().fs.List(L"C:\\D"), (std::vector<std::wstring>{L"c", L"a", L"b"}));
}

TEST_F(SimMachineTest, CopyFileErrors) {
  M().fs.AddFile(L"C:\\s\\f", "new");
  EXPECT_FALSE(plat::CopyFileW(L"C:\\s\\missing", L"C:\\s\\g", true));
  EXPECT_EQ(plat::GetLastError(), plat::kErrorFileNotFound);
  EXPECT_FALSE(plat::CopyFileW(L"C:\\s\\f", L"C:\\nodir\\f", true));
  EXPECT_EQ(plat::GetLastError(), plat::kErrorPathNotFound);
  M().fs.AddFile(L"C:\\d\\f", "old", plat::kFileAttributeReadonly);
  EXPECT_FALSE(plat::CopyFileW(L"C:\\s\\f", L"C:\\d\\f", true));
  EXPECT_EQ(plat::GetLastError(), plat::kErrorFileExists);
  EXPECT_FALSE(plat::CopyFileW(L"C:\\s\\f", L"C:\\d\\f", false));
  EXPECT_EQ(plat::GetLastError(), plat::kErrorAccessDenied);
  plat::SetFileAttributesW(L"C:\\d\\f", plat::kFileAttributeArchive);
  {
    plat::FileHandle held(plat::CreateFileW(L"C:\\d\\f", plat::kGenericRead, plat::kFileShareRead, plat::kOpenExisting));
    EXPECT_FALSE(plat::CopyFileW(L"C:\\s\\f", L"C:\\d\\f", false));
    EXPECT_EQ(plat::GetLastError(), plat::kErrorSharingViolation);
  }
  EXPECT_TRUE(plat::CopyFileW(L"C:\\s\\f", L"C:\\d\\f", false));
  EXPECT_EQ(M().fs.Contents(L"C:\\d\\f"), "new");
}

TEST_F(SimMachineTest, ShareModesOfOpenHandles) {
  M().fs.AddFile(L"C:\\f", "x");
  plat::FileHandle reader(plat::CreateFileW(L"C:\\f", plat::kGenericRead, plat::kFileShareRead, plat::kOpenExisting));
  ASSERT_TRUE(reader.valid());
  plat::FileHandle second(plat::CreateFileW(L"C:\\f", plat::kGenericRead, plat::kFileShareRead, plat::kOpenExisting));
  EXPECT_TRUE(second.valid());
  plat::FileHandle writer(plat::CreateFileW(L"C:\\f", plat::kGenericWrite, plat::kFileShareRead | plat::kFileShareWrite, plat::kOpenExisting));
  EXPECT_FALSE(writer.valid());
  EXPECT_EQ(plat::GetLastError(), plat::kErrorSharingViolation);
}

TEST_F(SimMachineTest, FaultsHitTheChosenCall) {
  M().faults.Fail("CreateDirectoryW", plat::kErrorAccessDenied, 2);
  EXPECT_TRUE(plat::CreateDirectoryW(L"C:\\a"));
  EXPECT_FALSE(plat::CreateDirectoryW(L"C:\\b"));
  EXPECT_EQ(plat::GetLastError(), plat::kErrorAccessDenied);
  EXPECT_TRUE(plat::CreateDirectoryW(L"C:\\c"));
}

// A process killed after its n-th call: the calls after it take no effect
// (its destructors' closing calls pass quietly), its handles close, the
// mutex it held is abandoned to the next owner, and a program killed so
// ends with exit code 1.
TEST_F(SimMachineTest, KilledProcessLeavesItsHandlesClosedAndItsMutexAbandoned) {
  const int other = ++M().processes.lastProcess;
  sim::SetProcessId(other);
  plat::SyncHandle waiting(plat::CreateMutexW(L"Global\\Lock"));
  sim::SetProcessId(1);
  M().KillAfter(1, 3);
  EXPECT_THROW(
      {
        plat::SyncHandle mutex(plat::CreateMutexW(L"Global\\Lock"));
        plat::WaitForSingleObject(mutex.get(), 0);
        plat::FileHandle file(plat::CreateFileW(L"C:\\Setup\\a.txt", plat::kGenericWrite, 0, plat::kCreateAlways));
        plat::CreateDirectoryW(L"C:\\b");
      },
      sim::ProcessKilled);
  EXPECT_TRUE(M().fs.Exists(L"C:\\Setup\\a.txt"));
  EXPECT_FALSE(M().fs.Exists(L"C:\\b"));
  EXPECT_TRUE(M().fs.open.empty());
  EXPECT_THROW(plat::CreateDirectoryW(L"C:\\b"), sim::ProcessKilled);
  sim::SetProcessId(other);
  EXPECT_EQ(plat::WaitForSingleObject(waiting.get(), 0), plat::kWaitAbandoned);
  EXPECT_EQ(plat::WaitForSingleObject(waiting.get(), 0), plat::kWaitObject0);

  const std::wstring program = L"C:\\Setup\\child.exe";
  M().fs.AddFile(program, "MZ");
  M().processes.programs[sim::FileSystem::Key(program)] = [](const std::wstring&) {
    plat::CreateDirectoryW(L"C:\\c");
    plat::CreateDirectoryW(L"C:\\d");
    return 0u;
  };
  M().KillAfter(M().processes.lastProcess + 1, 1);  // the next program started
  plat::ProcessHandle child(plat::CreateProcessW(program, L"child.exe", plat::ConsoleUse::None));
  uint32_t exitCode = 0;
  ASSERT_TRUE(plat::WaitForProcessExit(child.get()));
  ASSERT_TRUE(plat::GetExitCodeProcess(child.get(), exitCode));
  EXPECT_EQ(exitCode, 1u);
  EXPECT_TRUE(M().fs.Exists(L"C:\\c"));
  EXPECT_FALSE(M().fs.Exists(L"C:\\d"));
}

TEST_F(SimMachineTest, SleepAdvancesTheVirtualClock) {
  plat::Sleep(2000);
  plat::Sleep(1000);
  EXPECT_EQ(plat::GetTickCount(), 3000u);
  EXPECT_EQ(M().clock.Sleeps(), (std::vector<uint32_t>{2000, 1000}));
  plat::SystemTime t;
  plat::GetLocalTime(t);
  EXPECT_EQ(t.second, 6);
}

TEST_F(SimMachineTest, ProfileReading) {
  M().fs.AddFile(L"C:\\Setup\\PrinterInfo.ini",
                 "[\xB2\xE2\xCA\xD4]\r\nCounts = 2\r\n1=QX-1\r\n[VID_PID]\r\nvid=d23c\r\n");  // [测试]
  EXPECT_EQ(plat::GetPrivateProfileIntW(L"测试", L"counts", 9, L"C:\\Setup\\PrinterInfo.ini"), 2);
  EXPECT_EQ(plat::GetPrivateProfileStringW(L"测试", L"1", L"", 260, L"C:\\Setup\\PrinterInfo.ini"), L"QX-1");
  EXPECT_EQ(plat::GetPrivateProfileStringW(L"vid_pid", L"VID", L"", 3, L"C:\\Setup\\PrinterInfo.ini"), L"d2");
  EXPECT_EQ(plat::GetPrivateProfileStringW(L"VID_PID", L"PID", L"none", 260, L"C:\\Setup\\PrinterInfo.ini"), L"none");
  EXPECT_EQ(plat::GetPrivateProfileIntW(L"x", L"y", 7, L"C:\\missing.ini"), 7);
}

TEST_F(SimMachineTest, RegistryReads) {
  M().registry.SetDword(L"HKLM\\SYSTEM\\Port", L"Port Number", 3);
  plat::Handle raw = nullptr;
  ASSERT_EQ(plat::RegOpenKeyExW(plat::kHkeyLocalMachine, L"system\\port", plat::kKeyRead, raw), 0u);
  plat::KeyHandle key(raw);
  uint32_t value = 0;
  EXPECT_EQ(plat::RegQueryDwordValue(key.get(), L"port number", value), 0u);
  EXPECT_EQ(value, 3u);
  std::wstring text;
  EXPECT_EQ(plat::RegQueryStringValue(key.get(), L"Port Number", text), plat::kErrorInvalidData);
  EXPECT_EQ(plat::RegOpenKeyExW(plat::kHkeyLocalMachine, L"SYSTEM\\Other", plat::kKeyRead, raw), plat::kErrorFileNotFound);
}

// Reads the status n times; the states read, in order.
std::vector<uint32_t> ReadStates(plat::Handle service, int n) {
  std::vector<uint32_t> states;
  for (plat::ServiceStatus st; n-- > 0 && plat::QueryServiceStatus(service, st);) states.push_back(st.currentState);
  return states;
}

TEST_F(SimMachineTest, ServicesPassThroughPendingStatesForTheScriptedReads) {
  sim::Service& spooler = *M().services.Find(L"Spooler");
  spooler.stopPolls = 2;
  spooler.startPolls = sim::kForever;
  spooler.waitHint = 750;
  plat::ScManagerHandle scm(plat::OpenSCManagerW(plat::kGenericExecute));
  plat::ServiceHandle service(plat::OpenServiceW(scm.get(), L"spooler", 0x34));
  plat::ServiceStatus st;
  ASSERT_TRUE(plat::ControlService(service.get(), plat::kServiceControlStop, st));
  EXPECT_EQ(st.waitHint, 750u);
  EXPECT_FALSE(plat::ControlService(service.get(), plat::kServiceControlStop, st));  // busy stopping
  EXPECT_EQ(plat::GetLastError(), plat::kErrorServiceCannotAcceptCtrl);
  EXPECT_EQ(ReadStates(service.get(), 3), (std::vector<uint32_t>{3, 3, 1}));
  EXPECT_FALSE(plat::ControlService(service.get(), plat::kServiceControlStop, st));
  EXPECT_EQ(plat::GetLastError(), plat::kErrorServiceNotActive);
  ASSERT_TRUE(plat::StartServiceW(service.get()));
  EXPECT_EQ(ReadStates(service.get(), 400), std::vector<uint32_t>(400, plat::kServiceStartPending));
  EXPECT_FALSE(plat::StartServiceW(service.get()));
  EXPECT_EQ(plat::GetLastError(), plat::kErrorServiceAlreadyRunning);
}

TEST_F(SimMachineTest, ServicesCanBeMissingRefuseOrLackTheRight) {
  plat::ScManagerHandle scm(plat::OpenSCManagerW(plat::kGenericExecute));
  M().services.Remove(L"PcaSvc");
  EXPECT_FALSE(plat::ServiceHandle(plat::OpenServiceW(scm.get(), L"PcaSvc", 0x34)).valid());
  EXPECT_EQ(plat::GetLastError(), plat::kErrorServiceDoesNotExist);
  plat::ServiceHandle queryOnly(plat::OpenServiceW(scm.get(), L"Spooler", plat::kServiceQueryStatus));
  plat::ServiceStatus st;
  EXPECT_FALSE(plat::ControlService(queryOnly.get(), plat::kServiceControlStop, st));
  EXPECT_EQ(plat::GetLastError(), plat::kErrorAccessDenied);
  plat::ServiceHandle service(plat::OpenServiceW(scm.get(), L"Spooler", plat::kServiceAllAccess));
  M().services.Find(L"Spooler")->stopError = 1051;  // ERROR_DEPENDENT_SERVICES_RUNNING
  EXPECT_FALSE(plat::ControlService(service.get(), plat::kServiceControlStop, st));
  EXPECT_EQ(plat::GetLastError(), 1051u);
  EXPECT_EQ(M().services.OpenHandles(), 3u);
}

TEST_F(SimMachineTest, RunningSpoolerHoldsTheFilesOfItsDriverFolder) {
  std::wstring drivers;
  ASSERT_TRUE(plat::GetPrinterDriverDirectoryW(512, drivers));
  EXPECT_EQ(drivers, L"C:\\windows\\system32\\spool\\drivers\\x64");
  EXPECT_FALSE(plat::GetPrinterDriverDirectoryW(static_cast<uint32_t>(drivers.size() * 2), drivers));
  EXPECT_EQ(plat::GetLastError(), plat::kErrorInsufficientBuffer);

  M().fs.AddFile(L"C:\\src\\QX24RES.DLL", "new");
  M().fs.AddFile(drivers + L"\\QX24RES.DLL", "old");
  M().fs.AddFile(drivers + L"\\3\\unidrv.dll", "old");
  M().fs.AddFile(L"C:\\windows\\Fonts\\QX24RES.DLL", "old");
  EXPECT_FALSE(plat::CopyFileW(L"C:\\src\\QX24RES.DLL", drivers + L"\\QX24RES.DLL", false));
  EXPECT_EQ(plat::GetLastError(), plat::kErrorSharingViolation);
  EXPECT_FALSE(plat::CopyFileW(L"C:\\src\\QX24RES.DLL", drivers + L"\\3\\unidrv.dll", false));
  EXPECT_FALSE(plat::DeleteFileW(drivers + L"\\QX24RES.DLL"));
  EXPECT_FALSE(plat::FileHandle(plat::CreateFileW(drivers + L"\\QX24RES.DLL", plat::kGenericRead, 0, plat::kOpenExisting)).valid());
  // It reads them shared, and holds nothing outside its folder or not there yet.
  EXPECT_TRUE(plat::FileHandle(plat::CreateFileW(drivers + L"\\QX24RES.DLL", plat::kGenericRead, plat::kFileShareRead, plat::kOpenExisting)).valid());
  EXPECT_TRUE(plat::CopyFileW(L"C:\\src\\QX24RES.DLL", L"C:\\windows\\Fonts\\QX24RES.DLL", false));
  EXPECT_TRUE(plat::CopyFileW(L"C:\\src\\QX24RES.DLL", drivers + L"\\new.dll", true));

  M().services.Find(L"Spooler")->state = plat::kServiceStopPending;  // still stopping for a while
  M().services.Find(L"Spooler")->pendingUntilMs = M().clock.NowMs() + 1000;
  EXPECT_FALSE(plat::CopyFileW(L"C:\\src\\QX24RES.DLL", drivers + L"\\QX24RES.DLL", false));
  M().services.Find(L"Spooler")->state = plat::kServiceStopped;
  EXPECT_TRUE(plat::CopyFileW(L"C:\\src\\QX24RES.DLL", drivers + L"\\QX24RES.DLL", false));
  EXPECT_EQ(M().fs.Contents(drivers + L"\\QX24RES.DLL"), "new");
}

TEST_F(SimMachineTest, AddMonitorNeedsALoadableLibrary) {
  const std::wstring dll = L"C:\\windows\\system32\\spool\\drivers\\x64\\QXLMON.dll";
  const plat::MonitorInfo2 monitor{L"Kelvane Language Monitor", std::nullopt, dll};
  EXPECT_FALSE(plat::AddMonitorW(monitor));
  EXPECT_EQ(plat::GetLastError(), 126u);  // ERROR_MOD_NOT_FOUND
  M().fs.AddFile(dll, "");
  EXPECT_FALSE(plat::AddMonitorW(monitor));
  EXPECT_EQ(plat::GetLastError(), 193u);  // ERROR_BAD_EXE_FORMAT
  EXPECT_EQ(M().spooler.Monitor(L"Kelvane Language Monitor"), nullptr);
}

TEST_F(SimMachineTest, InfStoreStagesEachContentOnce) {
  M().fs.AddFile(L"C:\\Setup\\24Pin\\X64\\24Pin.inf", "[Version]");
  M().fs.AddFile(L"C:\\Setup\\24Pin\\i386\\24Pin.inf", "[Version]");
  M().fs.AddFile(L"C:\\Setup\\9Pin\\X64\\9Pin.inf", "[Version]\r\n");
  EXPECT_TRUE(plat::SetupCopyOEMInfW(L"C:\\Setup\\24Pin\\X64\\24Pin.inf", L"C:\\Setup\\24Pin\\X64\\", plat::kSpostPath, 0));
  EXPECT_TRUE(plat::SetupCopyOEMInfW(L"C:\\Setup\\24Pin\\i386\\24Pin.inf", L"C:\\Setup\\24Pin\\i386\\", plat::kSpostPath, 0));
  EXPECT_TRUE(plat::SetupCopyOEMInfW(L"C:\\Setup\\9Pin\\X64\\9Pin.inf", L"C:\\Setup\\9Pin\\X64\\", plat::kSpostPath, 0));
  ASSERT_EQ(M().infStore.staged.size(), 2u);
  EXPECT_EQ(M().infStore.staged[0].publishedName, L"oem0.inf");
  EXPECT_EQ(M().infStore.staged[0].mediaLocation, L"C:\\Setup\\24Pin\\X64\\");
  EXPECT_EQ(M().infStore.staged[1].sourceInf, L"C:\\Setup\\9Pin\\X64\\9Pin.inf");
  EXPECT_FALSE(plat::SetupCopyOEMInfW(L"C:\\Setup\\none.inf", L"C:\\Setup\\", plat::kSpostPath, 0));
  EXPECT_EQ(plat::GetLastError(), plat::kErrorFileNotFound);
}

const plat::Guid kPrinterClass = kPrinterClassGuid;

std::vector<std::wstring> InstanceIds() {
  std::vector<std::wstring> ids;
  for (const auto& d : sim::machine().devices.devices) ids.push_back(d.instanceId);
  return ids;
}

TEST_F(SimMachineTest, HardwareIdsAnswerWithTheSizeProtocolLikeSetupApi) {
  M().devices.AddDevice(L"USB\\VID_D23C&PID_0001\\1", {L"USB\\VID_D23C&PID_0001&REV_0100", L"USB\\VID_D23C&PID_0001"});
  M().devices.AddDevice(L"ROOT\\LEGACY\\0000", {});
  plat::DevInfoHandle set(plat::SetupDiGetClassDevsW(nullptr, plat::kDigcfPresent | plat::kDigcfAllClasses));
  ASSERT_TRUE(set.valid());
  plat::DevInfoData device;
  EXPECT_FALSE(plat::SetupDiEnumDeviceInfo(set.get(), 0, device));
  EXPECT_EQ(plat::GetLastError(), plat::kErrorInvalidUserBuffer);  // size not set
  device.size = plat::kDevInfoDataSize;
  ASSERT_TRUE(plat::SetupDiEnumDeviceInfo(set.get(), 0, device));
  uint32_t required = 0;
  EXPECT_FALSE(plat::SetupDiGetDeviceRegistryPropertyW(set.get(), device, plat::kSpdrpHardwareId, nullptr, 0, &required));
  EXPECT_EQ(plat::GetLastError(), plat::kErrorInsufficientBuffer);
  ASSERT_EQ(required, 31u + 22u + 1u);
  std::vector<wchar_t> ids(required);
  ASSERT_TRUE(plat::SetupDiGetDeviceRegistryPropertyW(set.get(), device, plat::kSpdrpHardwareId, ids.data(), required, nullptr));
  EXPECT_EQ(plat::GetLastError(), plat::kErrorSuccess);  // SetupAPI clears the last error on success
  EXPECT_EQ(std::wstring(ids.data()), L"USB\\VID_D23C&PID_0001&REV_0100");
  EXPECT_EQ(ids.back(), L'\0');

  ASSERT_TRUE(plat::SetupDiEnumDeviceInfo(set.get(), 1, device));
  EXPECT_FALSE(plat::SetupDiGetDeviceRegistryPropertyW(set.get(), device, plat::kSpdrpHardwareId, nullptr, 0, &required));
  EXPECT_EQ(plat::GetLastError(), plat::kErrorInvalidData);  // no hardware IDs
  EXPECT_FALSE(plat::SetupDiEnumDeviceInfo(set.get(), 2, device));
  EXPECT_EQ(plat::GetLastError(), plat::kErrorNoMoreItems);
}

TEST_F(SimMachineTest, InterfaceDetailsWantTheFixedPartInTheirSizeField) {
  const plat::Guid usbPrint{0x28D78FAD, 0x5A12, 0x11D1, {0xAE, 0x5B, 0x00, 0x00, 0xF8, 0x03, 0xA8, 0xC2}};
  M().devices.AddDevice(L"USB\\1", {}).interfaces.push_back({usbPrint, L"\\\\?\\usb#1"});
  plat::DevInfoHandle set(plat::SetupDiGetClassDevsW(&usbPrint, plat::kDigcfPresent | plat::kDigcfDeviceInterface));
  plat::DeviceInterfaceData iface;
  iface.size = plat::kDeviceInterfaceDataSize;
  ASSERT_TRUE(plat::SetupDiEnumDeviceInterfaces(set.get(), usbPrint, 0, iface));
  uint32_t required = 0;
  EXPECT_FALSE(plat::SetupDiGetDeviceInterfaceDetailW(set.get(), iface, nullptr, 0, &required, nullptr));
  EXPECT_EQ(plat::GetLastError(), plat::kErrorInsufficientBuffer);
  ASSERT_EQ(required, 4u + 10u * 2u);
  std::vector<uint8_t> detail(required, 0);
  detail[0] = 8;  // a 64-bit record's size in a 32-bit process
  EXPECT_FALSE(plat::SetupDiGetDeviceInterfaceDetailW(set.get(), iface, detail.data(), required, nullptr, nullptr));
  EXPECT_EQ(plat::GetLastError(), plat::kErrorInvalidUserBuffer);
  detail[0] = 6;
  ASSERT_TRUE(plat::SetupDiGetDeviceInterfaceDetailW(set.get(), iface, detail.data(), required, nullptr, nullptr));
  EXPECT_EQ(plat::DeviceInterfaceDetailPath(detail.data(), required), L"\\\\?\\usb#1");
  EXPECT_FALSE(plat::SetupDiEnumDeviceInterfaces(set.get(), usbPrint, 1, iface));
  EXPECT_EQ(plat::GetLastError(), plat::kErrorNoMoreItems);
}

TEST_F(SimMachineTest, EnumPortsNeedsNoBufferOnlyWhenThereAreNoPorts) {
  uint32_t needed = 0, count = 0;
  EXPECT_FALSE(plat::EnumPortsW(nullptr, 0, needed, count));
  EXPECT_EQ(plat::GetLastError(), plat::kErrorInsufficientBuffer);
  std::vector<uint8_t> buffer(needed);
  ASSERT_TRUE(plat::EnumPortsW(buffer.data(), needed, needed, count));
  ASSERT_EQ(count, 5u);
  EXPECT_EQ(std::wstring(reinterpret_cast<plat::PortInfo1*>(buffer.data())[4].name), L"FILE:");
  M().spooler.ports.clear();
  EXPECT_TRUE(plat::EnumPortsW(nullptr, 0, needed, count));
}

TEST_F(SimMachineTest, EnumPrintersFollowsTheSizeProtocolAndEmptyNeedsNoBuffer) {
  uint32_t needed = 1;
  EXPECT_TRUE(plat::EnumPrintersW(nullptr, 0, needed));
  EXPECT_EQ(needed, 0u);
  M().spooler.AddExistingPrinter(L"A");
  std::vector<plat::PrinterInfo2> printers;
  EXPECT_FALSE(plat::EnumPrintersW(&printers, 0, needed));
  EXPECT_EQ(plat::GetLastError(), plat::kErrorInsufficientBuffer);
  ASSERT_TRUE(plat::EnumPrintersW(&printers, needed, needed));
  ASSERT_EQ(printers.size(), 1u);
  EXPECT_EQ(printers[0].driverName, L"A");
}

// Asked not to overwrite, the store names the INF it holds with the same
// content; a removed INF's published name is not handed out again.
TEST_F(SimMachineTest, InfStoreNamesTheStagedCopyAndRemovesIt) {
  AddSamplePackage(M());
  std::wstring staged;
  ASSERT_TRUE(plat::SetupCopyOEMInfW(kSampleInf, kSampleBranch, plat::kSpostPath, plat::kSpCopyNoOverwrite, &staged));
  EXPECT_EQ(staged, L"oem0.inf");
  EXPECT_FALSE(plat::SetupCopyOEMInfW(kSampleInf, kSampleBranch, plat::kSpostPath, plat::kSpCopyNoOverwrite, &staged));
  EXPECT_EQ(plat::GetLastError(), plat::kErrorFileExists);
  EXPECT_EQ(staged, L"oem0.inf");
  ASSERT_TRUE(plat::SetupUninstallOEMInfW(L"OEM0.INF"));
  EXPECT_FALSE(plat::SetupUninstallOEMInfW(L"oem0.inf"));
  EXPECT_EQ(plat::GetLastError(), plat::kErrorFileNotFound);
  ASSERT_TRUE(plat::SetupCopyOEMInfW(kSampleInf, kSampleBranch, plat::kSpostPath, 0, &staged));
  EXPECT_EQ(staged, L"oem1.inf");
}

TEST_F(SimMachineTest, RootDeviceJoinsTheTreeWhenRegisteredAndLeavesItWhenRemoved) {
  M().kernel.nativeArchitecture = plat::kProcessorArchitectureIntel;  // no WOW64 in the way
  M().devices.AddDevice(L"ROOT\\PRINTER\\0000", {L"OTHER"}, kPrinterClass);
  plat::DevInfoHandle set(plat::SetupDiCreateDeviceInfoList(&kPrinterClass));
  plat::DevInfoData device;
  device.size = plat::kDevInfoDataSize;
  ASSERT_TRUE(plat::SetupDiCreateDeviceInfoW(set.get(), L"Printer", kPrinterClass, plat::kDicdGenerateId, device));
  const wchar_t id[] = L"USBPRINT\\QuillexQX-630K7B2E\0";
  ASSERT_TRUE(plat::SetupDiSetDeviceRegistryPropertyW(set.get(), device, plat::kSpdrpHardwareId, id, 29));
  EXPECT_EQ(InstanceIds().size(), 1u);  // not registered yet
  ASSERT_TRUE(plat::SetupDiCallClassInstaller(plat::kDifRegisterDevice, set.get(), device));
  EXPECT_EQ(InstanceIds(), (std::vector<std::wstring>{L"ROOT\\PRINTER\\0000", L"ROOT\\PRINTER\\0001"}));
  EXPECT_EQ(M().devices.Find(L"root\\printer\\0001")->hardwareIds, (std::vector<std::wstring>{L"USBPRINT\\QuillexQX-630K7B2E"}));
  ASSERT_TRUE(plat::SetupDiCallClassInstaller(plat::kDifRemove, set.get(), device));
  EXPECT_EQ(InstanceIds().size(), 1u);

  // An element never registered vanishes with its set.
  ASSERT_TRUE(plat::SetupDiCreateDeviceInfoW(set.get(), L"Printer", kPrinterClass, plat::kDicdGenerateId, device));
  set.reset();
  EXPECT_EQ(InstanceIds().size(), 1u);
  EXPECT_TRUE(M().devices.sets.empty());
}

TEST_F(SimMachineTest, UpdateInstallsOnEveryDeviceListingTheId) {
  M().fs.AddFile(L"C:\\Setup\\24Pin.inf", "");
  M().devices.AddDevice(L"USB\\W\\1", {L"WOW"});
  // A 32-bit process on 64-bit Windows is refused before anything happens.
  M().kernel.processArchitecture = plat::kProcessorArchitectureIntel;
  EXPECT_FALSE(plat::UpdateDriverForPlugAndPlayDevicesW(L"WOW", L"C:\\Setup\\24Pin.inf", 1, nullptr));
  EXPECT_EQ(plat::GetLastError(), plat::kErrorInWow64);
  EXPECT_EQ(M().devices.Find(L"USB\\W\\1")->driverInf, L"");
  M().devices.RemoveDevice(L"USB\\W\\1");
  M().kernel.processArchitecture = plat::kProcessorArchitectureIntel;
  M().kernel.nativeArchitecture = plat::kProcessorArchitectureIntel;
  M().devices.AddDevice(L"USB\\A\\1", {L"USBPRINT\\QuillexQX-630K7B2E"});
  M().devices.AddDevice(L"USB\\B\\1", {L"OTHER", L"usbprint\\quillexqx-630k7b2e"});
  M().devices.AddDevice(L"USB\\C\\1", {L"OTHER"});
  M().devices.updateNeedsReboot = true;
  bool reboot = false;
  ASSERT_TRUE(plat::UpdateDriverForPlugAndPlayDevicesW(L"USBPRINT\\QuillexQX-630K7B2E", L"C:\\Setup\\24Pin.inf",
                                                       plat::kInstallFlagForce, &reboot));
  EXPECT_TRUE(reboot);
  EXPECT_EQ(M().devices.Find(L"USB\\A\\1")->driverInf, L"C:\\Setup\\24Pin.inf");
  EXPECT_EQ(M().devices.Find(L"USB\\B\\1")->driverInf, L"C:\\Setup\\24Pin.inf");
  EXPECT_EQ(M().devices.Find(L"USB\\C\\1")->driverInf, L"");

  EXPECT_FALSE(plat::UpdateDriverForPlugAndPlayDevicesW(L"NONE", L"C:\\Setup\\24Pin.inf", 1, nullptr));
  EXPECT_EQ(plat::GetLastError(), plat::kErrorNoSuchDevinst);
  M().devices.updateError = plat::kErrorAccessDenied;
  EXPECT_FALSE(plat::UpdateDriverForPlugAndPlayDevicesW(L"OTHER", L"C:\\Setup\\24Pin.inf", 1, nullptr));
  EXPECT_EQ(plat::GetLastError(), plat::kErrorAccessDenied);
  EXPECT_EQ(M().devices.updates.size(), 3u);  // the refused one is not among them
}

}  // namespace
