#include "engine/driver_registration.h"

#include "engine/driver_package.h"
#include "engine/monitor_users.h"
#include "engine/service_control.h"
#include "engine/service_sequence.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/kernel.h"
#include "report/error_codes.h"
#include "report/error_report.h"
#include "report/install_log.h"
#include "report/install_steps.h"

const wchar_t kLanguageMonitorName[] = L"Kelvane Language Monitor";
const wchar_t kLanguageMonitorDll[] = L"QXLMON.dll";
const char kMonitorEntryPoint[] = "InitializePrintMonitor2";

namespace {

constexpr size_t kDependentFileBufferUnits = 260;
constexpr uint32_t kDriverDirectoryBytes = 512;
constexpr uint32_t kDriverVersion3 = 3;
// Beside the driver folder, out of the package copy's way.
constexpr wchar_t kKeptMonitorFolder[] = L"QuillexMonitor";

plat::MonitorInfo2 LanguageMonitor(const std::wstring& driverFolder) {
  return {kLanguageMonitorName, std::nullopt, driverFolder + kLanguageMonitorDll};
}

plat::DriverInfo6 UnidrvDriver(const std::wstring& driverFolder, const std::wstring& driverName, PinFamily pinFamily,
                               const std::wstring& dataFile) {
  plat::DriverInfo6 d;
  d.version = kDriverVersion3;
  d.name = driverName;
  d.driverPath = driverFolder + L"UNIDRV.DLL";
  d.dataFile = driverFolder + dataFile;
  d.configFile = driverFolder + L"unidrvui.dll";
  d.helpFile = driverFolder + L"unidrv.hlp";
  d.dependentFiles = BuildDependentFileList(FamilyDependentFiles(pinFamily));
  d.monitorName = kLanguageMonitorName;
  d.defaultDataType = L"RAW";
  d.mfgName = L"Quillex";
  return d;
}

}  // namespace

std::vector<wchar_t> BuildDependentFileList(const std::wstring& list) {
  std::vector<wchar_t> buffer(kDependentFileBufferUnits, L'\0');
  size_t used = 0;
  for (size_t start = 0, end = list.find(L';'); end != std::wstring::npos; start = end + 1, end = list.find(L';', start)) {
    size_t length = end - start;
    if (used + length + 2 > buffer.size()) break;  // the name, its zero and the closing zero must fit
    list.copy(buffer.data() + used, length, start);
    used += length + 1;
  }
  return buffer;
}

std::wstring KeptMonitorPath(const std::wstring& driverDirectory) {
  return driverDirectory.substr(0, driverDirectory.find_last_of(L'\\') + 1) + kKeptMonitorFolder + L"\\" +
         kLanguageMonitorDll;
}

void KeepInstalledMonitor(const std::wstring& driverDirectory) {
  const std::wstring installed = driverDirectory + L"\\" + kLanguageMonitorDll;
  if (plat::GetFileAttributesW(installed) == plat::kInvalidFileAttributes) return;
  const std::wstring kept = KeptMonitorPath(driverDirectory);
  plat::CreateDirectoryW(kept.substr(0, kept.find_last_of(L'\\')));
  // A kept DLL the restored monitor runs from may be held: the older one stays.
  if (!plat::CopyFileW(installed, kept, false)) WriteInstallLog(L"CopyFileW " + kept, true);
}

namespace {

// The monitor the spooler refused after the old one was deleted: the kept
// DLL registered again, so that the printers bound to it go on printing.
void RestoreKeptMonitor(const plat::MonitorInfo2& refused, const std::wstring& driverDirectory) {
  WriteInstallLog(L"AddMonitorW " + refused.dllName, true);
  const std::wstring kept = KeptMonitorPath(driverDirectory);
  if (plat::GetFileAttributesW(kept) != plat::kInvalidFileAttributes && plat::AddMonitorW({refused.name, refused.environment, kept})) return;
  WriteInstallLog(L"AddMonitorW " + kept, true);
}

bool Refused(int code, const std::wstring& what) {
  WriteInstallLog(what, true);
  ShowErrorCode(code);
  return false;
}

}  // namespace

bool ReinstallMonitor(const plat::MonitorInfo2& monitor, const std::wstring& driverDirectory) {
  if (plat::GetLastError() != plat::kErrorPrintMonitorAlreadyInstalled) return Refused(kCodeMonitor, L"AddMonitorW");
  // Whose the installed monitor is comes from the drivers bound to it, not
  // from what a refused delete might mean.
  MonitorUsers users;
  if (!ReadMonitorUsers(users)) return Refused(kCodeSpooler, L"EnumPrinterDriversW");
  if (!users.others.empty()) {
    WriteInstallLog(L"语言监视器由其他驱动程序使用，保留已安装的监视器：" + users.others.front(), false);
    return true;
  }
  ServiceSequence sequence;
  if (!users.ours.empty()) {
    // The spooler will not delete a monitor while drivers are bound to it.
    // Ours is registered from the DLL the package copy has just refreshed
    // in place: a restart makes the spooler load the new one.
    if (!RestartSpooler()) return Refused(kCodeSpooler, L"RestartSpooler");
    return true;
  }
  if (!RestartSpooler()) return Refused(kCodeSpooler, L"RestartSpooler");
  plat::Sleep(kPauseBeforeMonitorDeleteMs);
  if (!plat::DeleteMonitorW(kLanguageMonitorName)) return Refused(kCodeMonitor, L"DeleteMonitorW");
  // From here the machine has no monitor until one is added: the spooler must run for it.
  if (!RestartSpooler()) EnsureSpoolerRunning();
  if (plat::AddMonitorW(monitor)) return true;
  RestoreKeptMonitor(monitor, driverDirectory);
  ShowErrorCode(kCodeMonitor);
  return false;
}

bool RegisterDriver(const std::wstring& driverName, PinFamily pinFamily, const std::wstring& dataFile, bool again) {
  std::wstring directory;
  if (!plat::GetPrinterDriverDirectoryW(kDriverDirectoryBytes, directory))
    return Refused(kCodeSpooler, L"GetPrinterDriverDirectoryW");
  const std::wstring driverFolder = directory + L"\\";
  const plat::MonitorInfo2 monitor = LanguageMonitor(driverFolder);
  const plat::DriverInfo6 driver = UnidrvDriver(driverFolder, driverName, pinFamily, dataFile);

  ReportStep(InstallStep::Monitor, monitor.dllName);
  if (!plat::AddMonitorW(monitor) && !ReinstallMonitor(monitor, directory)) return false;
  ReportStep(InstallStep::Driver, driverName);
  if (plat::AddPrinterDriverW(driver)) return true;
  if (!again || plat::GetLastError() != plat::kErrorPrinterDriverAlreadyInstalled)
    return Refused(kCodeDriver, L"AddPrinterDriverW");
  WriteInstallLog(L"AddPrinterDriverW " + driverName, true);
  return true;
}
