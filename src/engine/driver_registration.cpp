#include "engine/driver_registration.h"

#include "engine/driver_package.h"
#include "engine/error_codes.h"
#include "engine/error_report.h"
#include "engine/install_steps.h"
#include "engine/service_control.h"
#include "engine/service_sequence.h"
#include "platform/error.h"
#include "platform/kernel.h"

const wchar_t kLanguageMonitorName[] = L"Kelvane Language Monitor";
const wchar_t kLanguageMonitorDll[] = L"QXLMON.dll";

namespace {

constexpr size_t kDependentFileBufferUnits = 260;
constexpr uint32_t kDriverDirectoryBytes = 512;
constexpr uint32_t kDriverVersion3 = 3;
constexpr uint32_t kPauseBeforeDeleteMs = 1000;

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

bool ReinstallMonitor(const plat::MonitorInfo2& monitor) {
  if (plat::GetLastError() != plat::kErrorPrintMonitorAlreadyInstalled) return false;
  ServiceSequence sequence;
  if (!RestartSpooler()) return false;
  plat::Sleep(kPauseBeforeDeleteMs);
  if (!plat::DeleteMonitorW(kLanguageMonitorName)) return false;
  RestartSpooler();
  return plat::AddMonitorW(monitor);
}

bool RegisterDriver(const std::wstring& driverName, PinFamily pinFamily, const std::wstring& dataFile) {
  std::wstring directory;
  if (!plat::GetPrinterDriverDirectoryW(kDriverDirectoryBytes, directory)) return false;
  const std::wstring driverFolder = directory + L"\\";
  const plat::MonitorInfo2 monitor = LanguageMonitor(driverFolder);
  const plat::DriverInfo6 driver = UnidrvDriver(driverFolder, driverName, pinFamily, dataFile);

  ReportStep(InstallStep::Monitor, monitor.dllName);
  if (!plat::AddMonitorW(monitor) && !ReinstallMonitor(monitor)) return false;
  ReportStep(InstallStep::Driver, driverName);
  if (!plat::AddPrinterDriverW(driver)) {
    ShowErrorCode(kCodeDriver);
    return false;
  }
  return true;
}
