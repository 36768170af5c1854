#include <gtest/gtest.h>

#include "allocation_hooks.h"
#include "engine/install_job.h"
#include "engine/installation_lock.h"
#include "engine/payload_folder.h"
#include "engine/pe_image.h"
#include "platform/error.h"
#include "platform/window.h"
#include "sample_package.h"
#include "sim_test.h"

namespace {

plat::Handle const kWizard = reinterpret_cast<plat::Handle>(0x7001);

class InstallWorkerTest : public SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    AddSamplePackage(M());
  }

  static std::unique_ptr<InstallJob> Job(const std::wstring& detected) {
    auto job = std::make_unique<InstallJob>();
    job->ownerWindow = kWizard;
    job->modelName = L"QX-630K";
    job->portName = L"LPT1:";
    job->dataFile = L"QX-630K.GPD";
    job->pinFamily = Pin24;
    job->detectedModel = detected;
    return job;
  }

  // Runs the job on its own thread to the end; the lParams of every
  // WM_INSTALL_DONE the wizard received.
  std::vector<intptr_t> Run(std::unique_ptr<InstallJob> job) {
    StartInstallWorker(std::move(job));
    M().JoinThreads();
    return Results();
  }
  std::vector<intptr_t> Results() {
    std::vector<intptr_t> results;
    for (const auto& m : M().windows.sent) {
      EXPECT_EQ(m.window, kWizard);
      EXPECT_EQ(m.wParam, 0u);
      if (m.message == WM_INSTALL_DONE) results.push_back(m.lParam);
    }
    return results;
  }
  void ConnectPrinter() { M().devices.AddDevice(L"USB\\VID_D23C&PID_0001\\5&1", {L"usb\\vid_d23c&pid_0001&rev_0100"}); }
  size_t QueueCalls() { return M().transcript.Count("AddPrinterW"); }
};

TEST_F(InstallWorkerTest, NoDetectedPrinterGoesStraightToTheQueue) {
  ConnectPrinter();
  EXPECT_EQ(Run(Job(L"")), std::vector<intptr_t>{1});
  EXPECT_EQ(M().transcript.Count("SetupDiGetINFClassW"), 0u);
  EXPECT_EQ(QueueCalls(), 1u);
  EXPECT_NE(M().spooler.Printer(L"Quillex QX-630K"), nullptr);
  EXPECT_TRUE(M().fs.List(kPayloadParent).empty());  // the worker's copy of the package is gone

  // Finish on Windows for ARM64 (the 32-bit wizard emulated there): box 13,
  // before a file is copied or a service touched.
  M().kernel.nativeArchitecture = plat::kProcessorArchitectureArm64;
  M().kernel.processArchitecture = plat::kProcessorArchitectureIntel;
  M().transcript.Clear();
  M().windows.sent.clear();
  EXPECT_EQ(Run(Job(L"")), std::vector<intptr_t>{0});
  EXPECT_EQ(ErrorBoxes(), std::vector<std::wstring>{L"13"});
  EXPECT_EQ(M().transcript.Ops({"CreateDirectoryW", "CopyFileW", "OpenSCManagerW", "CreateProcessW"}),
            std::vector<std::string>{});
}

TEST_F(InstallWorkerTest, DetectedModelWithoutAPresentDeviceFallsBackToTheQueue) {
  EXPECT_EQ(Run(Job(L"QX-630K")), std::vector<intptr_t>{1});
  EXPECT_EQ(M().transcript.Count("SetupDiGetINFClassW"), 1u);
  EXPECT_TRUE(M().devices.updates.empty());
  EXPECT_EQ(QueueCalls(), 1u);
}

// The 32-bit wizard on 64-bit Windows hands the job to the 64-bit program,
// started by full path with a quoted command line and the wizard's lock lent
// for the run; its exit code becomes the wizard's one report and box.
TEST_F(InstallWorkerTest, UnderWow64TheNativeProgramInstallsAndItsCodeIsTheBox) {
  const std::wstring program = L"C:\\Setup\\QuillexInstall64.exe";
  static uint32_t s_exitCode;
  static bool s_lent;
  const struct {
    std::string image;  // the program file; empty for none
    uint32_t exitCode;
    std::vector<intptr_t> results;
    std::vector<std::wstring> boxes;
    bool started;
  } cases[] = {
      {PeHeaders(kPeMachineAmd64, true, false), 0, {1}, {}, true},
      {PeHeaders(kPeMachineAmd64, true, false), 4, {0}, {L"4"}, true},
      {PeHeaders(kPeMachineAmd64, true, false), 1618, {0}, {L"12"}, true},  // no box code: unexpected, logged
      {PeHeaders(kPeMachineI386, false, false), 0, {0}, {L"11"}, false},    // not an x86-64 program
      {"", 0, {0}, {L"11"}, false},                                         // missing
  };
  for (const auto& c : cases) {
    SetUp();
    M().kernel.processArchitecture = plat::kProcessorArchitectureIntel;
    if (!c.image.empty()) M().fs.AddFile(program, c.image);
    s_exitCode = c.exitCode;
    s_lent = false;
    M().processes.programs[sim::FileSystem::Key(program)] = [](const std::wstring& commandLine) {
      const size_t token = commandLine.find(L"/handoff ");
      s_lent = token != std::wstring::npos && IsLockHandedOff(commandLine.substr(token + 9));
      return s_exitCode;
    };
    ConnectPrinter();
    EXPECT_EQ(Run(Job(L"QX-630K")), c.results) << c.exitCode;
    EXPECT_EQ(ErrorBoxes(), c.boxes) << c.exitCode;
    EXPECT_EQ(QueueCalls(), 0u);  // nothing of the road in the 32-bit process
    EXPECT_EQ(M().transcript.Count("UpdateDriverForPlugAndPlayDevicesW"), 0u);
    ASSERT_EQ(M().processes.started.size(), c.started ? 1u : 0u);
    if (!c.started) {
      EXPECT_EQ(LogEntries().size(), 1u);
      continue;
    }
    // Started from the wizard's own copy, which is gone afterwards.
    const auto& start = M().processes.started[0];
    EXPECT_TRUE(start.application.starts_with(kPayloadParent + kPayloadFolderPrefix)) << start.application;
    EXPECT_TRUE(start.application.ends_with(L"\\QuillexInstall64.exe"));
    EXPECT_EQ(start.commandLine.rfind(L"\"" + start.application + L"\" /install /model QX-630K /port LPT1: /detected QX-630K /handoff ", 0), 0u);
    EXPECT_FALSE(M().fs.Exists(start.application));
    EXPECT_TRUE(start.noWindow);
    EXPECT_TRUE(s_lent);
  }
}

// On 32-bit Windows the update may run.
TEST_F(InstallWorkerTest, PlugAndPlaySuccessNeedsNoQueue) {
  M().kernel.nativeArchitecture = plat::kProcessorArchitectureIntel;
  AddSamplePackage(M(), kSampleBranch32);
  ConnectPrinter();
  EXPECT_EQ(Run(Job(L"QX-630K")), std::vector<intptr_t>{1});
  ASSERT_EQ(M().devices.updates.size(), 1u);
  EXPECT_EQ(M().devices.updates[0].hardwareId, L"usb\\vid_d23c&pid_0001&rev_0100");  // the device's own text
  EXPECT_TRUE(M().devices.updates[0].infPath.starts_with(kPayloadParent + kPayloadFolderPrefix));
  EXPECT_TRUE(M().devices.updates[0].infPath.ends_with(L"\\24Pin\\i386\\24Pin.inf"));
  EXPECT_EQ(QueueCalls(), 0u);
  EXPECT_EQ(M().transcript.Count("GetPrinterDriverDirectoryW"), 0u);
  EXPECT_EQ(M().spooler.ordinal204Calls, std::vector<std::wstring>{L"Quillex QX-630K"});
}

TEST_F(InstallWorkerTest, FailedPlugAndPlayUpdateIsSilentAndTheQueueRuns) {
  ConnectPrinter();
  M().devices.updateError = plat::kErrorAccessDenied;
  EXPECT_EQ(Run(Job(L"QX-630K")), std::vector<intptr_t>{1});
  EXPECT_EQ(QueueCalls(), 1u);
  EXPECT_TRUE(ErrorBoxes().empty());
}

// Whichever step of the queue road fails, the wizard hears exactly once.
TEST_F(InstallWorkerTest, OneReportWhicheverQueueStepFails) {
  const struct {
    const char* op;
    intptr_t result;
  } steps[] = {
      {"OpenPrinterW", 1},           {"GetPrinterDriverDirectoryW", 0}, {"CopyFileW", 0},
      {"SetupCopyOEMInfW", 0},       {"AddMonitorW", 0},                {"AddPrinterDriverW", 0},
      {"AddPrinterW", 0},            {"GetPrinterW", 1},                {"DocumentPropertiesW", 1},
      {"SetPrinterW", 1},            {"SendMessageTimeoutW", 1},        {"SpoolerOrdinal204", 1},
  };
  for (const auto& step : steps) {
    SetUp();
    M().faults.Fail(step.op, plat::kErrorAccessDenied);
    EXPECT_EQ(Run(Job(L"")), std::vector<intptr_t>{step.result}) << step.op;
  }
}

TEST_F(InstallWorkerTest, ThreadThatCannotStartIsReportedAsAFailedInstallation) {
  M().faults.Fail("CreateThread", plat::kErrorNotEnoughMemory);
  EXPECT_FALSE(StartInstallWorker(Job(L"")));
  EXPECT_EQ(Results(), std::vector<intptr_t>{0});
  EXPECT_EQ(QueueCalls(), 0u);
}

TEST_F(InstallWorkerTest, ReportIsSentFromTheWorkerWhichFreesTheJobOnlyAfterwards) {
  std::thread::id handledOn;
  bool printerExisted = false, jobFreedDuringTheSend = true;
  M().windows.procedure = [&](const sim::Windows::Message&) {
    handledOn = std::this_thread::get_id();
    printerExisted = M().spooler.Printer(L"Quillex QX-630K") != nullptr;
    jobFreedDuringTheSend = Deleted();
    return intptr_t{0};
  };
  auto job = Job(L"");
  WatchDeletion(job.get());
  Run(std::move(job));
  EXPECT_NE(handledOn, std::this_thread::get_id());
  EXPECT_TRUE(printerExisted);
  EXPECT_FALSE(jobFreedDuringTheSend);
  EXPECT_TRUE(Deleted());
}

// Out of memory where the worker takes its copies, or while its thread is
// started: the wizard still hears once, and the job is freed.
TEST_F(InstallWorkerTest, OutOfMemoryAtTheStartIsOneFailureReport) {
  auto job = Job(L"");
  WatchDeletion(job.get());
  InstallJob* raw = job.release();
  EXPECT_NO_THROW((FailNextAllocation(), InstallWorker(raw)));
  EXPECT_TRUE(Deleted());
  EXPECT_EQ(Results(), std::vector<intptr_t>{0});
  M().windows.sent.clear();
  job = Job(L"");
  WatchDeletion(job.get());
  EXPECT_NO_THROW((FailNextAllocation(), StartInstallWorker(std::move(job))));
  M().JoinThreads();
  EXPECT_TRUE(Deleted());
  EXPECT_EQ(Results(), std::vector<intptr_t>{0});
  EXPECT_EQ(QueueCalls(), 0u);
}

}  // namespace
