// The start-up service thread and an install worker running at once, on a
// re-install: the spooler holds older driver files, so the worker stops it
// for its copies while the service thread makes sure it runs.
#include <gtest/gtest.h>

#include "app/setup_app.h"
#include "engine/driver_package.h"
#include "engine/install_job.h"
#include "sample_package.h"
#include "sim_test.h"

namespace {

plat::Handle const kWizard = reinterpret_cast<plat::Handle>(0x7001);
constexpr int kRounds = 40;

class ServiceRaceTest : public SimTest {
 protected:
  // One re-install beside a fresh service thread; true when it succeeded.
  bool RaceOnce(int assistantStopPolls) {
    SetUp();
    AddSamplePackage(M());
    const std::wstring folder = M().spooler.driverDirectory + L"\\";
    for (const std::wstring& name : M().fs.List(kSampleBranch))
      M().fs.AddFile(folder + name, "older version");
    M().services.Find(L"PcaSvc")->stopPolls = assistantStopPolls;
    M().services.Find(L"PcaSvc")->waitHint = 100;

    auto job = std::make_unique<InstallJob>();
    job->ownerWindow = kWizard;
    job->modelName = L"QX-630K";
    job->portName = L"LPT1:";
    job->dataFile = L"QX-630K.GPD";
    ServiceThreadRecord record;
    StartServiceThread(record);
    StartInstallWorker(std::move(job));
    M().JoinThreads();
    return M().windows.sent.size() == 1 && M().windows.sent[0].lParam == 1;
  }
};

// Whichever thread gets to the spooler first, the other never starts it in
// the middle of a protected copy.
TEST_F(ServiceRaceTest, ServiceThreadNeverStartsTheSpoolerInsideAProtectedCopy) {
  for (int stopPolls : {0, 3}) {
    int failed = 0;
    for (int round = 0; round < kRounds; ++round)
      if (!RaceOnce(stopPolls)) ++failed;
    EXPECT_EQ(failed, 0) << "assistant stopping over " << stopPolls << " reads";
  }
}

}  // namespace
