#include "engine/install_road.h"

#include "catalog/pnp_driver_updater.h"
#include "engine/printer_queue.h"
#include "engine/protected_print.h"
#include "engine/service_control.h"
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

}  // namespace

bool SpoolerRunsOrReport() {
  if (EnsureSpoolerRunning()) return true;
  ShowErrorCode(kCodeSpooler);
  return false;
}

bool RunInstallRoad(const InstallJob& job, const std::function<void()>& succeeded) {
  if (ProtectedPrintModeOn()) {
    WriteInstallLog(L"Windows 受保护的打印模式已开启", false);
    ShowErrorCode(kCodeProtectedPrint);
    return false;
  }
  if (!SpoolerRunsOrReport()) return false;
  if (PlugAndPlayRoadApplies(job) && InstallThroughPlugAndPlay(job, succeeded)) return true;
  bool created = CreatePrinterQueue(job.modelName, job.portName, job.dataFile, job.pinFamily);
  // The queue road stops and starts the spooler on its way: whatever it met,
  // the spooler runs again before anyone hears of the end.
  created = SpoolerRunsOrReport() && created;
  if (created) succeeded();
  return created;
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
