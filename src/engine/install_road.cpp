#include "engine/install_road.h"

#include <optional>
#include <vector>

#include "base/ascii_case.h"
#include "catalog/platform_probe.h"
#include "catalog/pnp_driver_updater.h"
#include "engine/printer_queue.h"
#include "engine/protected_print.h"
#include "engine/service_control.h"
#include "engine/uninstall_road.h"
#include "platform/spooler.h"
#include "report/error_codes.h"
#include "report/error_report.h"
#include "report/install_log.h"
#include "report/install_steps.h"

namespace {

// Only the printer the user chose, when it is the one connected, has a
// present device whose driver Windows can update.
bool PlugAndPlayRoadApplies(const InstallJob& job) {
  return job.modelName == job.detectedModel;
}

bool InstallThroughPlugAndPlay(const InstallJob& job, const std::function<void()>& succeeded) {
  const std::wstring inf = CPnpDriverUpdater::GetPackageInfPath(job.pinFamily);
  ReportStep(InstallStep::PlugAndPlay, inf);
  CPnpDriverUpdater updater;
  if (!updater.FindMatchingDevice(inf) || !updater.UpdateMatchedDevice()) return false;
  plat::CallSpoolerOrdinal204(kBrandPrefix + job.modelName);
  succeeded();
  return true;
}

// Our printer of the job's model on the job's port, if there is one; false
// when the spooler cannot list its printers.
bool FindQueueToUpdate(const InstallJob& job, std::optional<plat::PrinterInfo2>& found) {
  std::vector<plat::PrinterInfo2> printers;
  if (!ReadLocalPrinters(printers)) return false;
  for (plat::PrinterInfo2& printer : printers)
    if (IsOurPrinter(printer, job.modelName) && !(printer.status & plat::kPrinterStatusPendingDeletion) &&
        LowerAscii(printer.portName.value_or(L"")) == LowerAscii(job.portName)) {
      found = std::move(printer);
      return true;
    }
  return true;
}

// The end of a road through the queue, which stops and starts the spooler on
// its way: whatever it met, the spooler runs again before anyone hears of the end.
bool Finish(bool done, const std::function<void()>& succeeded) {
  done = SpoolerRunsOrReport() && done;
  if (done) succeeded();
  return done;
}

}  // namespace

bool SpoolerRunsOrReport() {
  if (EnsureSpoolerRunning()) return true;
  ShowErrorCode(kCodeSpooler);
  return false;
}

int RefusalOfThisWindows() {
  int code = 0;
  if (IsArm64Windows()) {
    code = kCodeNoDriverForProcessor;  // the i386 branch would fail late, the spooler stopped on the way
  } else if (ProtectedPrintModeOn()) {
    WriteInstallLog(L"Windows 受保护的打印模式已开启", false);
    code = kCodeProtectedPrint;
  }
  if (code != 0) ShowErrorCode(code);
  return code;
}

bool RunInstallRoad(const InstallJob& job, const std::function<void()>& succeeded) {
  if (!SpoolerRunsOrReport()) return false;
  if (PlugAndPlayRoadApplies(job) && InstallThroughPlugAndPlay(job, succeeded)) return true;
  return Finish(CreatePrinterQueue(job.modelName, job.portName, job.dataFile, job.pinFamily), succeeded);
}

bool RunUpdateRoad(const InstallJob& job, const std::function<void()>& succeeded) {
  if (!SpoolerRunsOrReport()) return false;
  std::optional<plat::PrinterInfo2> queue;
  if (!FindQueueToUpdate(job, queue)) return false;
  if (!queue) return RunInstallRoad(job, succeeded);
  return Finish(RefreshPrinterQueue(*queue->printerName, queue->driverName.value_or(L""), job.dataFile, job.pinFamily),
                succeeded);
}

InstallJob MakeInstallJob(plat::Handle owner, const std::wstring& model, const std::wstring& port,
                          const std::wstring& detectedModel) {
  InstallJob job;
  job.ownerWindow = owner;
  job.modelName = model;
  job.portName = port;
  job.dataFile = model + kDataFileSuffix;
  job.pinFamily = kInstalledFamily;
  job.detectedModel = detectedModel;
  return job;
}
