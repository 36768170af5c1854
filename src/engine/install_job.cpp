#include "engine/install_job.h"

#include "catalog/platform_probe.h"
#include "engine/install_road.h"
#include "engine/native_program.h"
#include "engine/payload_folder.h"
#include "platform/threads.h"
#include "platform/window.h"
#include "report/error_codes.h"
#include "report/error_report.h"

namespace {

void SendInstallDone(plat::Handle owner, bool succeeded) {
  plat::SendMessageW(owner, WM_INSTALL_DONE, 0, succeeded ? 1 : 0);
}

// On 64-bit Windows the 32-bit wizard's road runs in the 64-bit program.
// Either reads the package from a copy no process of the user can change.
bool RunJob(const InstallJob& job, bool& reported) {
  if (RefusalOfThisWindows() != 0) return false;
  CPayloadFolder payload;
  if (!payload.Create()) {
    ShowErrorCode(kCodeFileCopy);
    return false;
  }
  if (RunsUnderWow64()) return InstallThroughNativeProgram(job);
  return RunInstallRoad(job, [&] {
    reported = true;
    SendInstallDone(job.ownerWindow, true);
  });
}

}  // namespace

uint32_t InstallWorker(void* parameter) {
  std::unique_ptr<InstallJob> owned(static_cast<InstallJob*>(parameter));
  bool reported = false;
  try {
    const InstallJob job = *owned;  // the worker's own copies
    InstallReport report;
    const bool succeeded = RunJob(job, reported);
    report.Finish(succeeded);  // a failure's one box, before the wizard hears of it
    if (!reported) {
      reported = true;
      SendInstallDone(job.ownerWindow, succeeded);
    }
  } catch (...) {
    // Out of memory somewhere on the way: still one box and one answer.
    if (!reported) {
      ShowErrorCode(kCodeUnexpected);
      SendInstallDone(owned->ownerWindow, false);
    }
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
