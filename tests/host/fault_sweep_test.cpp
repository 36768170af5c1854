// The install road under every single fault: one job per road (the update
// of the printer in place among them) runs once to
// count its platform calls (a successful re-install), then once more for each
// call failing with its usual error and once with another. Whatever fails,
// the wizard hears exactly once, a failure shows exactly one box, success
// means a printer, the spooler is left running, the monitor that was there
// stays registered, no driver of the run is left without its printer, every
// handle is closed and the log stays well formed. The figures go to
// fault_sweep_figures.txt, which `make test` prints. The uninstall road and
// the package check get the same sweep, the uninstall also with a job
// queued, which leaves its printer pending deletion (uninstall_sweep_figures.txt,
// package_check_sweep_figures.txt). The crash sweep kills the process of each
// road right after each of its platform calls and runs the road again in a
// new process, which must leave the machine whole (crash_sweep_figures.txt).
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <set>

#include "app/install_program.h"
#include "engine/install_job.h"
#include "engine/install_road.h"
#include "engine/installation_lock.h"
#include "engine/package_check.h"
#include "engine/pe_image.h"
#include "engine/uninstall_road.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/inf_store.h"
#include "platform/window.h"
#include "report/error_report.h"
#include "sample_package.h"
#include "sim_test.h"

namespace {

plat::Handle const kWizard = reinterpret_cast<plat::Handle>(0x7001);
const std::wstring kPrinter = L"Quillex QX-630K";

// Update: the install program's "/update" over our printer on the job's port.
enum class Road { PlugAndPlay, Queue, QueueAfterFailedUpdate, Update };

// Calls whose failure is no fault the road can meet: pauses, clocks,
// debugger output, the report itself and the closers.
const std::set<std::string> kCannotFail = {
    "Sleep",       "GetLocalTime",         "GetSystemInfo",         "GetNativeSystemInfo", "OutputDebugStringW",
    "SendMessageW", "SpoolerOrdinal204",   "SetCursor",             "LoadCursorW",         "CloseHandle",
    "FindClose",   "CloseServiceHandle",   "ClosePrinter",          "RegCloseKey",         "SetupDiDestroyDeviceInfoList"};

uint32_t UsualError(const std::string& op);

// A second error, of another kind than the usual one.
uint32_t OtherError(const std::string& op) {
  const uint32_t usual = UsualError(op);
  return usual == plat::kErrorAccessDenied ? 112 : plat::kErrorAccessDenied;  // ERROR_DISK_FULL or access denied
}

// What the sweep counts.
struct Figures {
  int roads = 0, runs = 0, baselinesSucceeded = 0, silentFailures = 0, spoolerLeftStopped = 0, monitorsLost = 0,
      orphanDrivers = 0;
};

// Runs `run` once for every call of `calls` that can fail, with its usual
// error and with another, the call failing at that occurrence alone; `name`
// tells the run which fault it meets.
void ForEachSingleFault(const std::vector<sim::Call>& calls,
                        const std::function<void(const std::string& op, uint32_t error, int nth,
                                                 const std::string& name)>& run) {
  std::map<std::string, int> seen;
  for (const sim::Call& call : calls) {
    const int nth = ++seen[call.op];
    if (kCannotFail.count(call.op)) continue;
    for (uint32_t error : {UsualError(call.op), OtherError(call.op)})
      run(call.op, error, nth, call.op + " #" + std::to_string(nth) + " with " + std::to_string(error));
  }
}

// A sweep's figures line, on the test's output and in `file` for `make test`.
void WriteFigures(const char* file, const std::string& text) {
  std::fputs(text.c_str(), stdout);
  std::ofstream(file) << text;
}

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
      {"EnumPrintersW", 1722},
      {"DeletePrinter", 1722},
      {"DeletePrinterDriverW", plat::kErrorPrinterDriverInUse},
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
 public:
  static std::vector<std::wstring>& Boxes() { return ErrorBoxes(); }

 protected:
  // A fresh machine for the road: a re-install (older driver files that the
  // spooler holds, the monitor installed) so that every service step runs.
  void Prepare(Road road) {
    SetUp();
    M().clock.realPauses = false;  // the job runs on this thread alone
    if (road == Road::PlugAndPlay) {  // 32-bit Windows, where the installer's own process updates the driver
      M().kernel.nativeArchitecture = plat::kProcessorArchitectureIntel;
      M().kernel.processArchitecture = plat::kProcessorArchitectureIntel;
    }
    const std::wstring branch = road == Road::PlugAndPlay ? kSampleBranch32 : kSampleBranch;
    AddSamplePackage(M(), branch);
    if (road == Road::PlugAndPlay || road == Road::QueueAfterFailedUpdate)
      M().devices.AddDevice(L"USB\\VID_D23C&PID_0001\\5&1", {L"USBPRINT\\QuillexQX-630K7B2E"});
    const std::wstring drivers = M().spooler.driverDirectory + L"\\";
    for (const std::wstring& name : M().fs.List(branch)) M().fs.AddFile(drivers + name, "older version");
    M().spooler.monitors[L"KELVANE LANGUAGE MONITOR"] = {L"Kelvane Language Monitor", std::nullopt,
                                                         drivers + L"QXLMON.dll"};
    // The spooler takes a while to stop and to start, whether or not anyone
    // reads its status meanwhile.
    M().services.Find(L"Spooler")->stopPendingMs = 300;
    M().services.Find(L"Spooler")->startPendingMs = 300;
    M().services.Find(L"Spooler")->waitHint = 100;
    if (road == Road::Update) {  // the printer in use, with its settings, a job and its driver
      M().spooler.AddExistingPrinter(kPrinter);
      M().spooler.printers.at(L"QUILLEX QX-630K").devMode = sim::Spooler::DriverDevMode(kPrinter, true);
      M().spooler.printers.at(L"QUILLEX QX-630K").jobs = 1;
      plat::DriverInfo6 driver;
      driver.name = kPrinter;
      M().spooler.drivers[L"QUILLEX QX-630K"] = driver;
    }
  }

  static void RunJob(Road road) {
    auto job = std::make_unique<InstallJob>();
    job->ownerWindow = kWizard;
    job->modelName = L"QX-630K";
    job->portName = L"LPT1:";
    job->dataFile = L"QX-630K.GPD";
    job->detectedModel = road == Road::Queue || road == Road::Update ? L"" : L"QX-630K";
    if (road != Road::Update) return (void)InstallWorker(job.release());
    // As the install program runs it, reporting to the wizard's stand-in.
    InstallReport report;
    const bool updated = RunUpdateRoad(*job, [] {});
    report.Finish(updated);
    plat::SendMessageW(kWizard, WM_INSTALL_DONE, 0, updated);
  }

  // The update road never loses the printer nor adds a copy, whatever fails;
  // the printer keeps its port, settings and job.
  void CheckPrinterKept(const std::string& failed) {
    const plat::PrinterInfo2* printer = M().spooler.Printer(kPrinter);
    ASSERT_NE(printer, nullptr) << failed << ": the printer lost";
    EXPECT_EQ(printer->portName, L"LPT1:") << failed;
    EXPECT_EQ(printer->devMode, sim::Spooler::DriverDevMode(kPrinter, true)) << failed;
    EXPECT_EQ(printer->jobs, 1u) << failed;
    EXPECT_EQ(M().spooler.printers.size(), 1u) << failed << ": a copy added";
  }

  // Every promise of the road after one run, counted into `figures`;
  // `failed` names the failed call. Returns whether the run succeeded.
  bool Check(const std::string& failed, Figures& figures) {
    std::vector<intptr_t> results;
    for (const auto& m : M().windows.sent)
      if (m.message == WM_INSTALL_DONE) results.push_back(m.lParam);
    EXPECT_EQ(results.size(), 1u) << failed;
    const bool succeeded = results.size() == 1 && results[0] == 1;
    if (succeeded) {
      const bool updated = !M().devices.devices.empty() && !M().devices.devices[0].driverInf.empty();
      bool queued = false;
      for (const auto& p : M().spooler.printers) queued = queued || p.second.printerName.value_or(L"").rfind(kPrinter, 0) == 0;
      EXPECT_TRUE(updated || queued) << failed << ": success without a printer";
      EXPECT_TRUE(ErrorBoxes().empty()) << failed;
    } else {
      EXPECT_LE(ErrorBoxes().size(), 1u) << failed;
      if (ErrorBoxes().empty()) ++figures.silentFailures, ADD_FAILURE() << failed << ": failed without a box";
    }
    if (M().services.State(L"Spooler") != plat::kServiceRunning)
      ++figures.spoolerLeftStopped, ADD_FAILURE() << failed << ": the spooler left stopped";
    if (!M().spooler.Monitor(L"Kelvane Language Monitor"))
      ++figures.monitorsLost, ADD_FAILURE() << failed << ": the monitor lost";
    for (const auto& [key, driver] : M().spooler.drivers) {
      bool used = false;
      for (const auto& p : M().spooler.printers) used = used || p.second.driverName == driver.name;
      if (!used) ++figures.orphanDrivers, ADD_FAILURE() << failed << ": driver without a printer";
    }
    EXPECT_TRUE(M().fs.open.empty()) << failed;
    EXPECT_TRUE(M().fs.searches.empty()) << failed;
    EXPECT_EQ(M().services.OpenHandles(), 0u) << failed;
    EXPECT_TRUE(M().spooler.open.empty()) << failed;
    EXPECT_TRUE(M().devices.sets.empty()) << failed;
    EXPECT_TRUE(M().registry.open.empty()) << failed;
    static const std::regex entry(R"([^\r\n]*(\r\n[^\r\n]*)*     \d+-\d+-\d+,\d+:\d+:\d+:\d+ \r\n)");
    for (const std::string& e : LogEntries()) EXPECT_TRUE(std::regex_match(e, entry)) << failed << ": " << e;
    return succeeded;
  }
};

// Two printers of ours and one of another maker, with the drivers, the
// staged INF and the monitor that an installation leaves; with `jobQueued`,
// the copy has a job waiting.
void PrepareInstalled(bool jobQueued) {
  sim::Machine& m = sim::machine();
  for (const std::wstring& name : {kPrinter, kPrinter + L" (副本 1)"}) {
    m.spooler.AddExistingPrinter(name);
    plat::DriverInfo6 driver;
    driver.name = name;
    driver.dataFile = m.spooler.driverDirectory + L"\\QX-630K.GPD";  // what makes the driver ours
    driver.monitorName = L"Kelvane Language Monitor";
    m.spooler.drivers[sim::FileSystem::Key(name)] = driver;
  }
  m.spooler.AddExistingPrinter(L"Acme LQ-300");
  m.spooler.printers.at(L"ACME LQ-300").driverName = L"Generic / Text Only";
  if (jobQueued) m.spooler.printers.at(L"QUILLEX QX-630K (副本 1)").jobs = 1;
  plat::SetupCopyOEMInfW(kSampleInf, kSampleBranch, plat::kSpostPath, 0);
  m.transcript.Clear();
}

// A printer of ours that waits for its jobs stands, with its jobs, its driver,
// the INF and the monitor; not one of ours is left.
bool WaitsForJobs(const plat::PrinterInfo2& printer) { return printer.jobs > 0; }

// After one removal: success leaves nothing of ours, a failure shows one box,
// and while a printer of ours remains its driver, the INF and the monitor stay.
void CheckUninstall(bool removed, const std::string& failed, Figures& figures) {
  sim::Machine& m = sim::machine();
  bool oursLeft = false, waiting = false;
  for (const auto& [key, p] : m.spooler.printers) {
    oursLeft = oursLeft || (IsOurPrinter(p, L"") && !WaitsForJobs(p));
    waiting = waiting || WaitsForJobs(p);
    if (WaitsForJobs(p) && (p.status & plat::kPrinterStatusPendingDeletion) && p.jobs != 1)
      ADD_FAILURE() << failed << ": the jobs purged";
  }
  EXPECT_NE(m.spooler.Printer(L"Acme LQ-300"), nullptr) << failed << ": another maker's printer removed";
  if (removed) {
    EXPECT_FALSE(oursLeft) << failed;
    EXPECT_EQ(m.spooler.drivers.size(), waiting ? 1u : 0u) << failed;
    EXPECT_EQ(m.spooler.Monitor(L"Kelvane Language Monitor") != nullptr, waiting) << failed;
    EXPECT_EQ(m.infStore.staged.empty(), !waiting) << failed;
    EXPECT_TRUE(FaultSweepTest::Boxes().empty()) << failed;
  } else {
    EXPECT_EQ(FaultSweepTest::Boxes().size(), 1u) << failed;
    if (FaultSweepTest::Boxes().empty()) ++figures.silentFailures, ADD_FAILURE() << failed << ": failed without a box";
  }
  if ((oursLeft || waiting) && (!m.spooler.Monitor(L"Kelvane Language Monitor") || m.infStore.staged.empty()))
    ++figures.monitorsLost, ADD_FAILURE() << failed << ": the monitor or the INF removed under a printer of ours";
  for (const auto& [key, p] : m.spooler.printers)
    if (IsOurPrinter(p, L"") && !m.spooler.Driver(*p.driverName))
      ADD_FAILURE() << failed << ": a printer of ours without its driver";
  if (m.services.State(L"Spooler") != plat::kServiceRunning)
    ++figures.spoolerLeftStopped, ADD_FAILURE() << failed << ": the spooler left stopped";
  EXPECT_TRUE(m.spooler.open.empty()) << failed;
  EXPECT_EQ(m.services.OpenHandles(), 0u) << failed;
  EXPECT_TRUE(m.fs.open.empty()) << failed;
}

TEST_F(FaultSweepTest, EveryCallOfEveryRoadFailingOnce) {
  Figures figures;
  for (Road road : {Road::PlugAndPlay, Road::Queue, Road::QueueAfterFailedUpdate, Road::Update}) {
    ++figures.roads;
    Prepare(road);
    RunJob(road);
    const bool baseline = Check("nothing", figures);
    if (road == Road::Update) CheckPrinterKept("nothing");
    EXPECT_TRUE(baseline) << "the baseline of road " << static_cast<int>(road);
    figures.baselinesSucceeded += baseline;
    ForEachSingleFault(M().transcript.Calls(), [&](const std::string& op, uint32_t error, int nth,
                                                   const std::string& name) {
      Prepare(road);
      M().faults.Fail(op, error, nth);
      RunJob(road);
      Check(name + " of road " + std::to_string(static_cast<int>(road)), figures);
      if (road == Road::Update) CheckPrinterKept(name);
      ++figures.runs;
    });
  }
  char text[400];
  std::snprintf(text, sizeof text,
                "fault sweep: %d roads, %d runs with one failing call, %d of %d baselines succeeded, "
                "%d silent failures, %d with the spooler left stopped, %d monitors lost, %d drivers without a printer\n",
                figures.roads, figures.runs, figures.baselinesSucceeded, figures.roads, figures.silentFailures,
                figures.spoolerLeftStopped, figures.monitorsLost, figures.orphanDrivers);
  WriteFigures("fault_sweep_figures.txt", text);
}

TEST_F(FaultSweepTest, EveryCallOfTheUninstallRoadFailingOnce) {
  auto uninstall = [] {
    InstallReport report;
    const bool removed = RunUninstallRoad(L"");
    report.Finish(removed);
    return removed;
  };
  Figures figures;
  for (bool jobQueued : {false, true}) {
    const std::string with = jobQueued ? " with a job queued" : "";
    Prepare(Road::Queue);
    PrepareInstalled(jobQueued);
    const bool baseline = uninstall();
    CheckUninstall(baseline, "nothing" + with, figures);
    ASSERT_TRUE(baseline) << with;
    ForEachSingleFault(M().transcript.Calls(), [&](const std::string& op, uint32_t error, int nth,
                                                   const std::string& name) {
      Prepare(Road::Queue);
      PrepareInstalled(jobQueued);
      M().faults.Fail(op, error, nth);
      CheckUninstall(uninstall(), name + with, figures);
      ++figures.runs;
    });
  }
  char text[200];
  std::snprintf(text, sizeof text,
                "uninstall fault sweep: %d runs with one failing call, %d silent failures, %d with the spooler left "
                "stopped, %d monitors or INFs removed under a printer of ours\n",
                figures.runs, figures.silentFailures, figures.spoolerLeftStopped, figures.monitorsLost);
  WriteFigures("uninstall_sweep_figures.txt", text);
}

// The package check under every single fault of the calls it makes on the
// shipped package: a finding, never a pass, unless the failure is one the
// API cannot tell from an ordinary answer; never a handle left open.
TEST_F(FaultSweepTest, EveryCallOfThePackageCheckFailingOnce) {
  // A listing's failing next entry looks like its end; a failed profile read
  // answers the default, as for a missing key.
  const std::set<std::string> kIndistinguishable = {"FindNextFileW", "GetPrivateProfileStringW"};
  AddShippedPackage(M());
  M().transcript.Clear();
  ASSERT_TRUE(CheckDriverPackage(L"C:\\Setup\\").empty());
  const std::vector<sim::Call> calls = M().transcript.Calls();
  int runs = 0, silentPasses = 0;
  ForEachSingleFault(calls, [&](const std::string& op, uint32_t error, int nth, const std::string& name) {
    SetUp();
    AddShippedPackage(M());
    M().faults.Fail(op, error, nth);
    const bool passed = CheckDriverPackage(L"C:\\Setup\\").empty();
    if (passed && !kIndistinguishable.count(op)) ++silentPasses, ADD_FAILURE() << name << ": passed";
    EXPECT_TRUE(M().fs.open.empty() && M().fs.searches.empty()) << name;
    ++runs;
  });
  char text[200];
  std::snprintf(text, sizeof text, "package check fault sweep: %zu calls, %d runs with one failing call, %d silent passes\n",
                calls.size(), runs, silentPasses);
  WriteFigures("package_check_sweep_figures.txt", text);
}

// The roads a kill may cut short. Each runs as the program that takes it:
// the 64-bit install program for the first three, and for the hand-off the
// 32-bit wizard (its lock held, its worker) starting QuillexInstall64.exe.
enum class KilledRoad { FirstInstall, Reinstall, Uninstall, Handoff };
const char* const kKilledRoadNames[] = {"first install", "re-install", "uninstall", "hand-off"};

// Folders that a run makes for itself under the Windows folder's Temp or
// under ProgramData ("QuillexPayload.<process>.<tick>"), and must remove
// again, also when it fails; after a kill the next run must. Returns those
// left, by the pattern of their names.
std::vector<std::wstring> TemporaryFoldersLeft() {
  static const std::wregex kRunFolder(LR"(QuillexPayload\..*)", std::regex_constants::icase);
  std::vector<std::wstring> left;
  for (const std::wstring root : {L"C:\\windows\\Temp", L"C:\\ProgramData"})
    for (const std::wstring& name : sim::machine().fs.List(root))
      if (std::regex_match(name, kRunFolder)) left.push_back(root + L"\\" + name);
  return left;
}

std::vector<std::wstring> SplitArguments(const std::wstring& commandLine) {
  std::vector<std::wstring> arguments;
  const size_t programEnd = commandLine.find(L'"', 1);
  std::wstring argument;
  for (size_t i = programEnd + 1; i <= commandLine.size(); ++i)
    if (i == commandLine.size() || commandLine[i] == L' ') {
      if (!argument.empty()) arguments.push_back(std::exchange(argument, L""));
    } else {
      argument += commandLine[i];
    }
  return arguments;
}

class CrashSweepTest : public FaultSweepTest {
 protected:
  // The machine the road starts from: nothing of ours for a first install;
  // older files and the monitor for a re-install; two printers of ours for
  // the uninstall; a 32-bit wizard on 64-bit Windows for the hand-off.
  void PrepareKilled(KilledRoad road) {
    Prepare(Road::Queue);
    if (road == KilledRoad::FirstInstall) {
      M().spooler.monitors.clear();
      for (const std::wstring& name : M().fs.List(M().spooler.driverDirectory))
        M().fs.Remove(M().spooler.driverDirectory + L"\\" + name);
    }
    M().fs.AddFile(L"C:\\Setup\\PrinterInfo.ini", kGbkModelSection + "\r\nCounts=1\r\n0=QX-630K\r\n");
    if (road == KilledRoad::Uninstall) PrepareInstalled(false);
    if (road == KilledRoad::Handoff) {
      M().kernel.processArchitecture = plat::kProcessorArchitectureIntel;
      const std::wstring program = L"C:\\Setup\\QuillexInstall64.exe";
      M().fs.AddFile(program, PeHeaders(kPeMachineAmd64, true, false));
      M().processes.programs[sim::FileSystem::Key(program)] = [](const std::wstring& commandLine) {
        sim::SetProcessArchitecture(plat::kProcessorArchitectureAmd64);
        return static_cast<uint32_t>(RunInstallProgram(SplitArguments(commandLine)));
      };
    }
    M().transcript.Clear();
  }

  // One run of the road in the calling process; true when it succeeded.
  static bool RunKilledRoad(KilledRoad road) {
    switch (road) {
      case KilledRoad::FirstInstall:
      case KilledRoad::Reinstall:
        return RunInstallProgram({L"/install", L"/model", L"QX-630K", L"/port", L"LPT1:"}) == 0;
      case KilledRoad::Uninstall:
        return RunInstallProgram({L"/uninstall", L"/all"}) == 0;
      case KilledRoad::Handoff: {
        CInstallationLock lock;  // the wizard's, from its start to its exit
        if (!lock.Acquire()) return false;
        sim::machine().windows.sent.clear();
        RunJob(Road::Queue);
        const auto& sent = sim::machine().windows.sent;
        return !sent.empty() && sent.back().message == WM_INSTALL_DONE && sent.back().lParam == 1;
      }
    }
    return false;
  }

  // After the run that follows a kill: it succeeded, and the machine is whole.
  // Returns whether all held; names each fault.
  bool CheckRecovered(KilledRoad road, bool succeeded, const std::string& when) {
    bool whole = succeeded;
    auto expect = [&](bool held, const std::string& what) {
      if (!held) ADD_FAILURE() << when << ": " << what;
      whole = whole && held;
    };
    expect(succeeded, "the next run failed");
    expect(M().services.State(L"Spooler") == plat::kServiceRunning, "the spooler left stopped");
    bool oursLeft = false;
    for (const auto& [key, p] : M().spooler.printers) oursLeft = oursLeft || IsOurPrinter(p, L"");
    if (road == KilledRoad::Uninstall) {
      expect(!oursLeft && M().spooler.drivers.empty(), "a printer or a driver of ours left");
      expect(!M().spooler.Monitor(L"Kelvane Language Monitor"), "the monitor left");
    } else {
      expect(M().spooler.Printer(kPrinter) != nullptr, "no printer");
      expect(M().spooler.Monitor(L"Kelvane Language Monitor") != nullptr, "the monitor missing");
    }
    for (const auto& [key, driver] : M().spooler.drivers) {
      bool used = false;
      for (const auto& [name, p] : M().spooler.printers) used = used || p.driverName == driver.name;
      expect(used, "a driver without a printer");
    }
    expect(TemporaryFoldersLeft().empty(), "a temporary folder left");
    bool lockHeld = !M().namedObjects.open.empty();
    for (const auto& [name, object] : M().namedObjects.byName) lockHeld = lockHeld || object.owner.has_value();
    expect(!lockHeld, "the lock still held or open");
    expect(M().fs.open.empty() && M().spooler.open.empty() && M().services.OpenHandles() == 0 &&
               M().devices.sets.empty() && M().registry.open.empty(),
           "a handle left open");
    return whole;
  }
};

TEST_F(CrashSweepTest, EveryRoadKilledAfterEachCallIsWholeAfterTheNextRun) {
  int roads = 0, runs = 0, recovered = 0, notRecovered = 0;
  for (KilledRoad road : {KilledRoad::FirstInstall, KilledRoad::Reinstall, KilledRoad::Uninstall, KilledRoad::Handoff}) {
    ++roads;
    const std::string roadName = kKilledRoadNames[static_cast<int>(road)];
    PrepareKilled(road);
    ASSERT_TRUE(CheckRecovered(road, RunKilledRoad(road), roadName + " without a kill"));
    std::map<int, size_t> callsOf;  // the wizard is process 1, the program it starts 2
    for (const sim::Call& call : M().transcript.Calls()) ++callsOf[call.process];
    for (const auto& [process, calls] : callsOf)
      for (size_t k = 1; k < calls; ++k) {
        const std::string when = roadName + ": process " + std::to_string(process) + " killed after call " +
                                 std::to_string(k) + " of " + std::to_string(calls);
        PrepareKilled(road);
        M().KillAfter(process, k);
        try {
          RunKilledRoad(road);
        } catch (const sim::ProcessKilled&) {
        }
        M().JoinThreads();  // a program the dead wizard started runs to its end
        {
          auto lock = M().Lock();
          sim::SetProcessId(++M().processes.lastProcess);  // the next run is a new process
          M().faults.Clear();
        }
        ErrorBoxes().clear();
        CheckRecovered(road, RunKilledRoad(road), when) ? ++recovered : ++notRecovered;
        M().JoinThreads();
        ++runs;
      }
  }
  char text[200];
  std::snprintf(text, sizeof text,
                "crash sweep: %d roads, %d runs killed after one call, %d recovered on the next run, %d not recovered\n",
                roads, runs, recovered, notRecovered);
  WriteFigures("crash_sweep_figures.txt", text);
}

}  // namespace
