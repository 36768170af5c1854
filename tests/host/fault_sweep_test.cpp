// The install road under every single fault: one job per road runs once to
// count its platform calls, then once more for each call with that call
// failing with its usual error. Whatever fails, the wizard hears exactly
// once, success means a printer, the spooler is left running, every handle
// is closed and the log stays well formed.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <regex>
#include <set>

#include "engine/install_job.h"
#include "platform/error.h"
#include "platform/files.h"
#include "sample_package.h"
#include "sim_test.h"

namespace {

plat::Handle const kWizard = reinterpret_cast<plat::Handle>(0x7001);
const std::wstring kPrinter = L"Quillex QX-630K";

enum class Road { PlugAndPlay, Queue, QueueAfterFailedUpdate };

// Calls whose failure is no fault the road can meet: pauses, clocks,
// debugger output, the report itself and the closers.
const std::set<std::string> kCannotFail = {
    "Sleep",       "GetLocalTime",         "GetSystemInfo",         "GetNativeSystemInfo", "OutputDebugStringW",
    "SendMessageW", "SpoolerOrdinal204",   "SetCursor",             "LoadCursorW",         "CloseHandle",
    "FindClose",   "CloseServiceHandle",   "ClosePrinter",          "RegCloseKey",         "SetupDiDestroyDeviceInfoList"};

uint32_t UsualError(const std::string& op) {
  static const std::map<std::string, uint32_t> errors = {
      {"FindFirstFileW", plat::kErrorFileNotFound},
      {"FindNextFileW", 18},  // ERROR_NO_MORE_FILES
      {"SHGetSpecialFolderPathW", plat::kErrorFileNotFound},
      {"GetModuleFileNameW", plat::kErrorInsufficientBuffer},
      {"FormatMessageW", 317},  // ERROR_MR_MID_NOT_FOUND
      {"OpenServiceW", plat::kErrorServiceDoesNotExist},
      {"OpenPrinterW", 1801},  // ERROR_INVALID_PRINTER_NAME
      {"GetPrinterDriverDirectoryW", 1722},
      {"AddMonitorW", 1722},
      {"DeleteMonitorW", 1722},
      {"AddPrinterDriverW", 1722},
      {"AddPrinterW", 1722},
      {"GetPrinterW", 1722},
      {"SetPrinterW", 1722},
      {"DocumentPropertiesW", 1722},  // RPC_S_SERVER_UNAVAILABLE
      {"SetupCopyOEMInfW", plat::kErrorFileNotFound},
      {"UpdateDriverForPlugAndPlayDevicesW", 0xE0000203},  // ERROR_NO_DRIVER_SELECTED
      {"SendMessageTimeoutW", plat::kErrorTimeout},
  };
  auto it = errors.find(op);
  return it == errors.end() ? plat::kErrorAccessDenied : it->second;
}

class FaultSweepTest : public SimTest {
 protected:
  // A fresh machine for the road: a re-install (older driver files that the
  // spooler holds, the monitor installed) so that every service step runs.
  void Prepare(Road road) {
    SetUp();
    M().clock.realPauses = false;  // the job runs on this thread alone
    if (road == Road::PlugAndPlay) M().kernel.nativeArchitecture = plat::kProcessorArchitectureIntel;
    const std::wstring branch = road == Road::PlugAndPlay ? kSampleBranch32 : kSampleBranch;
    AddSamplePackage(M(), branch);
    if (road != Road::Queue)
      M().devices.AddDevice(L"USB\\VID_D23C&PID_0001\\5&1", {L"USBPRINT\\QuillexQX-630K7B2E"});
    const std::wstring drivers = M().spooler.driverDirectory + L"\\";
    for (const std::wstring& name : M().fs.List(branch)) M().fs.AddFile(drivers + name, "older version");
    M().spooler.monitors[L"KELVANE LANGUAGE MONITOR"] = {L"Kelvane Language Monitor", std::nullopt,
                                                         drivers + L"QXLMON.dll"};
    M().services.Find(L"Spooler")->stopPolls = 2;
    M().services.Find(L"Spooler")->waitHint = 100;
  }

  static void RunJob(Road road) {
    auto job = std::make_unique<InstallJob>();
    job->ownerWindow = kWizard;
    job->modelName = L"QX-630K";
    job->portName = L"LPT1:";
    job->dataFile = job->expectedDataFile = L"QX-630K.GPD";
    job->detectedModel = road == Road::Queue ? L"" : L"QX-630K";
    InstallWorker(job.release());
  }

  // Every promise of the road after one run; `failed` names the failed call,
  // `startFailed` tells whether it was one of a spooler start.
  void Check(const std::string& failed, bool startFailed = false) {
    std::vector<intptr_t> results;
    for (const auto& m : M().windows.sent)
      if (m.message == WM_INSTALL_DONE) results.push_back(m.lParam);
    ASSERT_EQ(results.size(), 1u) << failed;
    if (results[0] == 1) {
      const bool updated = !M().devices.devices.empty() && !M().devices.devices[0].driverInf.empty();
      bool queued = false;
      for (const auto& p : M().spooler.printers) queued = queued || p.second.printerName.value_or(L"").rfind(kPrinter, 0) == 0;
      EXPECT_TRUE(updated || queued) << failed << ": success without a printer";
    }
    if (!startFailed) {
      EXPECT_EQ(M().services.State(L"Spooler"), plat::kServiceRunning) << failed;
    } else if (M().services.State(L"Spooler") != plat::kServiceRunning) {
      EXPECT_EQ(results[0], 0) << failed << ": success with the spooler stopped";
    }
    EXPECT_TRUE(M().fs.open.empty()) << failed;
    EXPECT_TRUE(M().fs.searches.empty()) << failed;
    EXPECT_EQ(M().services.OpenHandles(), 0u) << failed;
    EXPECT_TRUE(M().spooler.open.empty()) << failed;
    EXPECT_TRUE(M().devices.sets.empty()) << failed;
    EXPECT_TRUE(M().registry.open.empty()) << failed;
    static const std::regex entry(R"([^\r\n]*(\r\n[^\r\n]*)*     \d+-\d+-\d+,\d+:\d+:\d+:\d+ \r\n)");
    for (const std::string& e : LogEntries()) EXPECT_TRUE(std::regex_match(e, entry)) << failed << ": " << e;
  }
};

// The indices of the calls that start a service: each service-manager
// session (OpenSCManagerW to its last close) that makes a StartServiceW.
std::set<size_t> StartingCalls(const std::vector<sim::Call>& calls) {
  static const std::set<std::string> kServiceOps = {"OpenSCManagerW", "OpenServiceW", "QueryServiceStatus",
                                                    "StartServiceW", "ControlService"};
  std::set<size_t> starting, session;
  bool starts = false;
  for (size_t i = 0; i <= calls.size(); ++i) {
    if (i == calls.size() || calls[i].op == "OpenSCManagerW") {
      if (starts) starting.insert(session.begin(), session.end());
      session.clear();
      starts = false;
    }
    if (i == calls.size()) break;
    if (kServiceOps.count(calls[i].op)) session.insert(i);
    starts = starts || calls[i].op == "StartServiceW";
  }
  return starting;
}

TEST_F(FaultSweepTest, EveryCallOfEveryRoadFailingOnce) {
  int runs = 0;
  for (Road road : {Road::PlugAndPlay, Road::Queue, Road::QueueAfterFailedUpdate}) {
    Prepare(road);
    RunJob(road);
    Check("nothing");
    const std::vector<sim::Call> calls = M().transcript.Calls();
    const std::set<size_t> starting = StartingCalls(calls);
    std::map<std::string, int> seen;
    for (size_t i = 0; i < calls.size(); ++i) {
      const sim::Call& call = calls[i];
      const int nth = ++seen[call.op];
      if (kCannotFail.count(call.op)) continue;
      Prepare(road);
      M().faults.Fail(call.op, UsualError(call.op), nth);
      RunJob(road);
      Check(call.op + " #" + std::to_string(nth) + " of road " + std::to_string(static_cast<int>(road)),
            starting.count(i) != 0);
      ++runs;
    }
  }
  std::printf("fault sweep: %d runs, each with one failing call\n", runs);
}

}  // namespace
