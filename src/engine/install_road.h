// The install road of one job in this process: the Plug and Play driver
// update when the chosen printer is the connected one, else the queue road
// (package, monitor, driver, queue). The wizard's worker and the install
// program both take it.
#pragma once
#include <functional>

#include "engine/install_job.h"

// Runs the job's road, once RefusalOfThisWindows has admitted it. `succeeded` is called once when the installation has
// succeeded (on the Plug and Play road while the updater still holds its
// device set, so the wizard hears of it at once); returns whether it did.
bool RunInstallRoad(const InstallJob& job, const std::function<void()>& succeeded);

// The install program's "/update", which the MSI's install, upgrade and
// repair use: when a printer of ours for the job's model is already on the
// job's port, the package is staged again and the monitor and that printer's
// driver registered again, and the queue stays (name, port, settings, jobs:
// no copy). Otherwise the job's own road runs.
bool RunUpdateRoad(const InstallJob& job, const std::function<void()>& succeeded);

// The job for `model` on `port`, as the model and port pages choose it.
InstallJob MakeInstallJob(plat::Handle owner, const std::wstring& model, const std::wstring& port,
                          const std::wstring& detectedModel);

// Why this Windows admits no driver of the package, asked before anything
// is copied, stopped or written: box 13 on Windows for ARM64, box 10 in
// protected print mode; the code shown, or 0 when it admits one.
int RefusalOfThisWindows();

// Makes sure the spooler runs; box 7 when it will not.
bool SpoolerRunsOrReport();
