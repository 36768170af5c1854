#include "engine/uninstall_road.h"

#include <set>
#include <vector>

#include "base/ascii_case.h"
#include "catalog/pnp_driver_updater.h"
#include "engine/driver_registration.h"
#include "engine/install_road.h"
#include "engine/monitor_users.h"
#include "engine/printer_queue.h"
#include "engine/service_control.h"
#include "platform/error.h"
#include "platform/inf_store.h"
#include "report/error_codes.h"
#include "report/error_report.h"
#include "report/install_log.h"
#include "report/install_steps.h"

namespace {

// Printers added between the size query and the read make it fail once more.
constexpr int kEnumTries = 3;

bool Failed(int code, const std::wstring& what) {
  WriteInstallLog(what, true);
  ShowErrorCode(code);
  return false;
}

// A printer with jobs is only marked for deletion: the spooler removes it
// after its last job, and until then its driver, the INF and the monitor
// serve it. Its jobs are never purged.
bool WaitsForItsJobs(const plat::PrinterInfo2& printer) {
  return printer.jobs > 0 || (printer.status & plat::kPrinterStatusPendingDeletion);
}

bool DeleteNamedPrinter(const std::wstring& name) {
  ReportStep(InstallStep::RemovePrinter, name);
  const plat::PrinterDefaults allAccess{std::nullopt, {}, plat::kPrinterAllAccess};
  plat::Handle raw = nullptr;
  if (!plat::OpenPrinterW(name, raw, &allAccess)) return Failed(kCodePrinter, L"OpenPrinterW " + name);
  plat::PrinterHandle printer(raw);
  if (!plat::DeletePrinter(printer.get())) return Failed(kCodePrinter, L"DeletePrinter " + name);
  return true;
}

bool DeleteDriver(const std::wstring& name) {
  ReportStep(InstallStep::RemoveDriver, name);
  if (plat::DeletePrinterDriverW(name) || plat::GetLastError() == plat::kErrorUnknownPrinterDriver) return true;
  return Failed(kCodeDriver, L"DeletePrinterDriverW " + name);
}

// The one line of a printer left waiting for its jobs, in the log and to the observer.
void ReportPendingDeletion(const plat::PrinterInfo2& printer) {
  const std::wstring line = *printer.printerName + L"：仍有打印作业，打印完后由打印服务删除；驱动程序 " +
                            *printer.driverName + L" 保留，作业打印完后再次运行卸载即可删除";
  WriteInstallLog(line, false);
  ReportStep(InstallStep::PendingDeletion, line);
}

// The store names the INF it staged from the package's by its content: asked
// not to overwrite, it answers with that INF's published name. When the
// package's INF was not staged, the question staged it, and it goes again.
bool RemoveStagedInf() {
  const std::wstring inf = CPnpDriverUpdater::GetPackageInfPath(Pin24);
  ReportStep(InstallStep::RemoveInf, inf);
  std::wstring staged;
  if (!plat::SetupCopyOEMInfW(inf, inf.substr(0, inf.find_last_of(L'\\') + 1), plat::kSpostPath,
                              plat::kSpCopyNoOverwrite, &staged) &&
      plat::GetLastError() != plat::kErrorFileExists)
    return Failed(kCodeInfStaging, L"SetupCopyOEMInfW " + inf);
  if (plat::SetupUninstallOEMInfW(staged)) return true;
  if (plat::GetLastError() != plat::kErrorInfInUseByDevices) return Failed(kCodeInfStaging, L"SetupUninstallOEMInfW " + staged);
  WriteInstallLog(L"SetupUninstallOEMInfW " + staged, true);  // a device keeps its driver and the INF
  return true;
}

// A monitor that a driver still names stays: after our drivers have gone,
// that driver is another maker's. Any refusal of the delete then is a failure.
bool RemoveMonitor() {
  ReportStep(InstallStep::RemoveMonitor, kLanguageMonitorName);
  MonitorUsers users;
  if (!ReadMonitorUsers(users)) return Failed(kCodeSpooler, L"EnumPrinterDriversW");
  if (!users.others.empty() || !users.ours.empty()) {
    const std::wstring user = users.others.empty() ? users.ours.front() : users.others.front();
    WriteInstallLog(L"语言监视器仍由驱动程序使用，保留：" + user, false);
    return true;
  }
  if (plat::DeleteMonitorW(kLanguageMonitorName) || plat::GetLastError() == plat::kErrorUnknownPrintMonitor) return true;
  return Failed(kCodeMonitor, L"DeleteMonitorW");
}

// The drivers whose data file is one of the package's (upper-case names).
bool ReadOurDrivers(std::set<std::wstring>& ours) {
  std::vector<plat::DriverInfo3> drivers;
  if (!plat::EnumPrinterDriversW(drivers)) return Failed(kCodeSpooler, L"EnumPrinterDriversW");
  const std::wstring branch = InstalledBranchFolder();
  for (const plat::DriverInfo3& driver : drivers) {
    const DriverOwner owner = OwnerOfDriver(driver, branch);
    if (owner == DriverOwner::Unknown) return Failed(kCodeFileCopy, L"GetFileAttributesW " + driver.dataFile);
    if (owner == DriverOwner::Ours) ours.insert(UpperAscii(driver.name));
  }
  return true;
}

// A run killed between removing a printer and its driver leaves the driver
// without a printer, where no later run would find it through a printer:
// once no printer of ours stays, every driver of ours (`ours`) goes but those
// already removed (`removed`; both upper case).
bool RemoveOrphanDrivers(const std::set<std::wstring>& ours, const std::set<std::wstring>& removed) {
  std::vector<plat::DriverInfo3> installed;
  if (!plat::EnumPrinterDriversW(installed)) return Failed(kCodeSpooler, L"EnumPrinterDriversW");
  bool removedAll = true;
  for (const plat::DriverInfo3& driver : installed)
    if (ours.count(UpperAscii(driver.name)) && !removed.count(UpperAscii(driver.name)))
      removedAll = DeleteDriver(driver.name) && removedAll;
  return removedAll;
}

}  // namespace

bool ReadLocalPrinters(std::vector<plat::PrinterInfo2>& printers) {
  uint32_t needed = 0;
  for (int attempt = 0; attempt < kEnumTries; ++attempt) {
    if (plat::EnumPrintersW(&printers, needed, needed)) return true;
    if (plat::GetLastError() != plat::kErrorInsufficientBuffer) break;
  }
  return Failed(kCodeSpooler, L"EnumPrintersW");
}

bool IsOurPrinter(const plat::PrinterInfo2& printer, const std::wstring& model) {
  const std::wstring named = LowerAscii(ModelOfPrinterName(printer.printerName.value_or(L"")));
  return !named.empty() && named == LowerAscii(ModelOfPrinterName(printer.driverName.value_or(L""))) &&
         (model.empty() || named == LowerAscii(model));
}

bool RunUninstallRoad(const std::wstring& model) {
  if (!SpoolerRunsOrReport()) return false;
  std::vector<plat::PrinterInfo2> printers;
  std::set<std::wstring> ourDrivers;
  if (!ReadLocalPrinters(printers) || !ReadOurDrivers(ourDrivers)) return false;

  bool removed = true;
  std::set<std::wstring> drivers;  // of the removed printers, in upper case
  std::vector<std::wstring> driverNames;
  std::wstring remaining;          // a printer of ours that stays
  for (const plat::PrinterInfo2& printer : printers) {
    // Names alone could be another maker's: the driver's data file decides.
    if (!IsOurPrinter(printer, L"") || !ourDrivers.count(UpperAscii(*printer.driverName))) continue;
    if (IsOurPrinter(printer, model)) {
      const bool marked = printer.status & plat::kPrinterStatusPendingDeletion;  // by an earlier run
      if (!marked && !DeleteNamedPrinter(*printer.printerName)) {
        removed = false;
      } else if (WaitsForItsJobs(printer)) {
        ReportPendingDeletion(printer);  // it stays a while, with its driver, the INF and the monitor
      } else {
        if (drivers.insert(UpperAscii(*printer.driverName)).second) driverNames.push_back(*printer.driverName);
        continue;
      }
    }
    if (remaining.empty()) remaining = *printer.printerName;
  }
  for (const std::wstring& driver : driverNames) removed = DeleteDriver(driver) && removed;
  if (!remaining.empty()) {
    ReportStep(InstallStep::SharedPartsKept, remaining);
    return removed;
  }
  removed = RemoveOrphanDrivers(ourDrivers, drivers) && removed;
  removed = RemoveStagedInf() && removed;
  return RemoveMonitor() && removed;
}

bool RunUninstallRoadOrKeepPrinters(const std::wstring& model) {
  if (EnsureSpoolerRunning()) return RunUninstallRoad(model);
  const std::wstring line = L"打印服务（Spooler）无法运行：Quillex 打印机及其驱动程序保留，仍可打印；打印服务运行后可用 /uninstall 删除";
  WriteInstallLog(line, true);
  ReportStep(InstallStep::PrintersKept, line);
  return true;
}
