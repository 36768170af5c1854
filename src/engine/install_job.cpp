#include "engine/install_job.h"

#include "catalog/pnp_driver_updater.h"
#include "engine/printer_queue.h"
#include "platform/spooler.h"
#include "platform/threads.h"
#include "platform/window.h"

namespace {

const wchar_t kGenericDriverCategory[] = L"通用驱动程序";

void SendInstallDone(plat::Handle owner, bool succeeded) {
  plat::SendMessageW(owner, WM_INSTALL_DONE, 0, succeeded ? 1 : 0);
}

// Only the printer the user chose, when it is the one connected, has a
// present device whose driver Windows can update.
bool PlugAndPlayRoadApplies(const InstallJob& job) {
  return job.modelName == job.detectedModel && job.expectedDataFile == job.dataFile &&
         job.driverCategory != kGenericDriverCategory;
}

// The Plug and Play road; on success the spooler hears of the printer and the
// wizard of the result while the updater still holds its device set.
bool InstallThroughPlugAndPlay(const InstallJob& job) {
  CPnpDriverUpdater updater;
  if (!updater.FindMatchingDevice(CPnpDriverUpdater::GetPackageInfPath(job.pinFamily)) ||
      !updater.UpdateMatchedDevice())
    return false;
  plat::CallSpoolerOrdinal204(kBrandPrefix + job.modelName);
  SendInstallDone(job.ownerWindow, true);
  return true;
}

}  // namespace

uint32_t InstallWorker(void* parameter) {
  std::unique_ptr<InstallJob> owned(static_cast<InstallJob*>(parameter));
  bool reported = false;
  try {
    const InstallJob job = *owned;  // the worker's own copies
    reported = PlugAndPlayRoadApplies(job) && InstallThroughPlugAndPlay(job);
    if (!reported) {
      bool created = CreatePrinterQueue(job.modelName, job.portName, job.dataFile, job.pinFamily);
      reported = true;
      SendInstallDone(job.ownerWindow, created);
    }
  } catch (...) {
    // Out of memory somewhere on the way: still one answer for the wizard.
    if (!reported) SendInstallDone(owned->ownerWindow, false);
  }
  owned.reset();  // freed only after the wizard has handled the report
  return 0;
}

bool StartInstallWorker(std::unique_ptr<InstallJob> job) {
  plat::Handle owner = job->ownerWindow;
  bool started = false;
  try {
    started = plat::CreateThread(&InstallWorker, job.get());
  } catch (...) {
    // Out of memory while starting: no thread runs the job.
  }
  if (started) {
    job.release();  // the worker owns it now
    return true;
  }
  job.reset();
  SendInstallDone(owner, false);
  return false;
}
