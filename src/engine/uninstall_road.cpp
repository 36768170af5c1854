#include "engine/uninstall_road.h"

#include <set>
#include <vector>

#include "base/ascii_case.h"
#include "catalog/pnp_driver_updater.h"
#include "engine/driver_registration.h"
#include "engine/install_road.h"
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

// Every record of a spooler list, asked for its size first; box 7 when the
// spooler cannot give it.
template <typename Record>
bool ReadAll(bool (*enumerate)(std::vector<Record>*, uint32_t, uint32_t&), std::vector<Record>& records,
             const wchar_t* what) {
  uint32_t needed = 0;
  for (int attempt = 0; attempt < kEnumTries; ++attempt) {
    if (enumerate(&records, needed, needed)) return true;
    if (plat::GetLastError() != plat::kErrorInsufficientBuffer) break;
  }
  return Failed(kCodeSpooler, what);
}

// Drivers of ours (of `model`; empty: of any) that no printer uses, added to
// `names` unless `known` has them: a printer left waiting for its jobs kept
// its driver, and the spooler removed the printer after its last job.
bool AddDriversLeftBehind(const std::vector<plat::PrinterInfo2>& printers, const std::wstring& model,
                          std::set<std::wstring>& known, std::vector<std::wstring>& names) {
  std::vector<plat::DriverInfo6> drivers;
  if (!ReadAll(plat::EnumPrinterDriversW, drivers, L"EnumPrinterDriversW")) return false;
  std::set<std::wstring> used;
  for (const plat::PrinterInfo2& printer : printers) used.insert(UpperAscii(printer.driverName.value_or(L"")));
  for (const plat::DriverInfo6& driver : drivers) {
    const std::wstring named = LowerAscii(ModelOfPrinterName(driver.name));
    const bool ours = !named.empty() && (model.empty() || named == LowerAscii(model)) &&
                      UpperAscii(driver.monitorName.value_or(L"")) == UpperAscii(kLanguageMonitorName);
    if (ours && !used.count(UpperAscii(driver.name)) && known.insert(UpperAscii(driver.name)).second)
      names.push_back(driver.name);
  }
  return true;
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

bool RemoveMonitor() {
  ReportStep(InstallStep::RemoveMonitor, kLanguageMonitorName);
  if (plat::DeleteMonitorW(kLanguageMonitorName)) return true;
  const uint32_t error = plat::GetLastError();
  if (error == plat::kErrorUnknownPrintMonitor) return true;
  if (error != plat::kErrorPrintMonitorInUse) return Failed(kCodeMonitor, L"DeleteMonitorW");
  WriteInstallLog(L"DeleteMonitorW", true);  // a driver of another maker is bound to it
  return true;
}

}  // namespace

bool ReadLocalPrinters(std::vector<plat::PrinterInfo2>& printers) {
  return ReadAll(plat::EnumPrintersW, printers, L"EnumPrintersW");
}

bool IsOurPrinter(const plat::PrinterInfo2& printer, const std::wstring& model) {
  const std::wstring named = LowerAscii(ModelOfPrinterName(printer.printerName.value_or(L"")));
  return !named.empty() && named == LowerAscii(ModelOfPrinterName(printer.driverName.value_or(L""))) &&
         (model.empty() || named == LowerAscii(model));
}

bool RunUninstallRoad(const std::wstring& model) {
  if (!SpoolerRunsOrReport()) return false;
  std::vector<plat::PrinterInfo2> printers;
  if (!ReadLocalPrinters(printers)) return false;

  bool removed = true;
  std::set<std::wstring> drivers;  // of the removed printers, in upper case
  std::vector<std::wstring> driverNames;
  std::wstring remaining;          // a printer of ours that stays
  for (const plat::PrinterInfo2& printer : printers) {
    if (!IsOurPrinter(printer, L"")) continue;
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
  removed = AddDriversLeftBehind(printers, model, drivers, driverNames) && removed;
  for (const std::wstring& driver : driverNames) removed = DeleteDriver(driver) && removed;
  if (!remaining.empty()) {
    ReportStep(InstallStep::SharedPartsKept, remaining);
    return removed;
  }
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
