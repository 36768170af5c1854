// The install program on the simulated machine: its arguments, its exit codes
// and its lines, and the road it shares with the wizard.
#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "app/install_program.h"
#include "base/command_line.h"
#include "engine/installation_lock.h"
#include "engine/package_check.h"
#include "engine/payload_folder.h"
#include "engine/pe_image.h"
#include "engine/protected_print.h"
#include "engine/service_control.h"
#include "platform/error.h"
#include "platform/shell.h"
#include "platform/sim/machine.h"
#include "report/error_codes.h"
#include "report/product_version.h"
#include "sample_package.h"
#include "sim_test.h"

namespace {

using Args = std::vector<std::wstring>;

TEST(InstallCommandTest, ParsesSwitchesAndNamesWhatIsWrong) {
  const struct {
    Args args;
    bool ok;
    const wchar_t* error;  // the start of the reason
  } cases[] = {
      {{L"/install", L"/model", L"QX-630K", L"/port", L"LPT1:"}, true, L""},
      {{L"-INSTALL", L"/Port", L"USB001", L"/detect"}, true, L""},
      {{L"/?"}, true, L""},
      {{}, false, L"缺少 /install"},
      {{L"/install", L"/model", L"QX-630K"}, false, L"缺少 /port"},
      {{L"/install", L"/port", L"LPT1:"}, false, L"缺少 /model"},
      {{L"/install", L"/port"}, false, L"参数 /port 缺少值"},
      {{L"/install", L"/model", L""}, false, L"参数 /model 缺少值"},
      {{L"/install", L"/force"}, false, L"未知参数：/force"},
      {{L"/install", L"QX-630K"}, false, L"未知参数：QX-630K"},
      {{L"/check"}, true, L""},
      {{L"-Check", L"D:\\dist"}, true, L""},
      {{L"/check", L"/port", L"LPT1:"}, false, L"参数 /check 不能与安装参数同用"},
      {{L"/install", L"/model", L"QX-630K", L"/port", L"LPT1:", L"/check"}, false, L"参数 /check 不能与安装参数同用"},
      {{L"/check", L"D:\\a", L"D:\\b"}, false, L"未知参数：D:\\b"},
      {{L"/uninstall", L"/all"}, true, L""},
      {{L"-UNINSTALL", L"/model", L"QX-630K"}, true, L""},
      {{L"/uninstall"}, false, L"/uninstall 需要"},
      {{L"/uninstall", L"/all", L"/model", L"QX-630K"}, false, L"/uninstall 需要"},
      {{L"/install", L"/uninstall", L"/all"}, false, L"/install 和 /uninstall"},
      {{L"/install", L"/all", L"/model", L"QX-630K", L"/port", L"LPT1:"}, false, L"/all 只用于"},
      {{L"/install", L"/model", L"QX-630K", L"/port", L"LPT1:", L"-Update"}, true, L""},
      {{L"/uninstall", L"/all", L"/SpoolerOptional"}, true, L""},
      {{L"/uninstall", L"/all", L"/update"}, false, L"/update 只用于"},
      {{L"/install", L"/model", L"QX-630K", L"/port", L"LPT1:", L"/spooleroptional"}, false, L"/spooleroptional 只用于"},
      {{L"/check", L"/update"}, false, L"参数 /check 不能与安装参数同用"},
  };
  for (const auto& c : cases) {
    InstallCommand command;
    std::wstring error;
    EXPECT_EQ(ParseInstallCommand(c.args, command, error), c.ok) << error;
    EXPECT_EQ(error.rfind(c.error, 0), 0u) << error;
  }
  InstallCommand command;
  std::wstring error;
  ASSERT_TRUE(ParseInstallCommand({L"/install", L"/model", L"A B", L"/port", L"LPT1:", L"/detected", L"A B",
                                   L"/handoff", L"7.9"},
                                  command, error));
  EXPECT_EQ(command.model, L"A B");
  EXPECT_EQ(command.detected, L"A B");
  EXPECT_EQ(command.handoff, L"7.9");
  EXPECT_FALSE(command.detect);
}

TEST(InstallCommandTest, QuotingSurvivesTheRuntimesSplit) {
  EXPECT_EQ(QuoteArgument(L"LPT1:"), L"LPT1:");
  EXPECT_EQ(QuoteArgument(L""), L"\"\"");
  EXPECT_EQ(QuoteArgument(L"Quillex QX-630K"), L"\"Quillex QX-630K\"");
  EXPECT_EQ(QuoteArgument(L"a\"b"), L"\"a\\\"b\"");
  EXPECT_EQ(QuoteArgument(L"C:\\a b\\"), L"\"C:\\a b\\\\\"");
  EXPECT_EQ(QuoteArgument(L"x\\\\\" y"), L"\"x\\\\\\\\\\\" y\"");
  EXPECT_EQ(JoinCommandLine(L"C:\\P Q\\a.exe", {L"/port", L"x y"}), L"\"C:\\P Q\\a.exe\" /port \"x y\"");
}

class InstallProgramTest : public SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    AddSamplePackage(M());
    M().fs.AddFile(L"C:\\Setup\\PrinterInfo.ini",
                   "[82\xC1\xD0\xC6\xB1\xBE\xDD\xB4\xF2\xD3\xA1\xBB\xFA]\r\nCounts=2\r\n0=QX-630K\r\n1=QX-730K\r\n");
    M().console.lines.clear();
  }
  bool Printed(const std::wstring& start) {
    for (const std::wstring& line : M().console.lines)
      if (line.rfind(start, 0) == 0) return true;
    return false;
  }
};

// One run checks the road, the step lines and the copy name of a second run.
TEST_F(InstallProgramTest, InstallsThenACopyPrintingEachStep) {
  const Args args{L"/install", L"/model", L"qx-630k", L"/port", L"LPT1:"};
  EXPECT_EQ(RunInstallProgram(args), 0);
  ASSERT_NE(M().spooler.Printer(L"Quillex QX-630K"), nullptr);
  for (const wchar_t* step : {L"打印机名称：Quillex QX-630K", L"复制驱动文件到：", L"安装 INF 文件：", L"注册语言监视器：",
                              L"注册打印机驱动程序：Quillex QX-630K", L"创建打印机，端口：LPT1:", L"驱动安装成功"})
    EXPECT_TRUE(Printed(step)) << step;
  EXPECT_EQ(M().transcript.Count("UpdateDriverForPlugAndPlayDevicesW"), 0u);  // no printer detected
  EXPECT_EQ(RunInstallProgram(args), 0);
  EXPECT_NE(M().spooler.Printer(L"Quillex QX-630K (副本 1)"), nullptr);
  EXPECT_TRUE(ErrorBoxes().empty());  // the console presenter replaced the recorder
  EXPECT_TRUE(M().namedObjects.byName.empty());  // the lock released and closed
}

TEST_F(InstallProgramTest, ExitCodes) {
  EXPECT_EQ(RunInstallProgram({L"/?"}), 0);
  EXPECT_TRUE(Printed(L"用法："));
  EXPECT_EQ(RunInstallProgram({L"/install"}), 87);
  EXPECT_EQ(RunInstallProgram({L"/install", L"/model", L"QX-1", L"/port", L"LPT1:"}), 87);
  EXPECT_TRUE(Printed(L"未知型号：QX-1。可用的型号：QX-630K、QX-730K"));

  M().processes.elevated = false;
  EXPECT_EQ(RunInstallProgram({L"/install", L"/model", L"QX-630K", L"/port", L"LPT1:"}), 740);
  M().processes.elevated = true;

  // Another process holds the lock (here: another thread), unless it lends it.
  CInstallationLock* other = nullptr;
  std::thread holder([&other] {
    other = new CInstallationLock;
    other->Acquire();
  });
  holder.join();
  EXPECT_EQ(RunInstallProgram({L"/install", L"/model", L"QX-630K", L"/port", L"LPT1:"}), 1618);
  CLockHandoff lent;
  EXPECT_EQ(RunInstallProgram({L"/install", L"/model", L"QX-630K", L"/port", L"LPT1:", L"/handoff", lent.Token()}), 0);
  M().namedObjects.byName.at(kInstallationMutexName).owner.reset();  // the holder's process ended
  delete other;

  // Protected print mode admits no driver of ours: code 10 before anything is copied.
  M().registry.SetDword(std::wstring(L"HKLM\\") + kProtectedPrintPolicyKey, kProtectedPrintPolicyValue, 1);
  M().transcript.Clear();
  EXPECT_EQ(RunInstallProgram({L"/install", L"/model", L"QX-630K", L"/port", L"LPT1:"}), 10);
  EXPECT_EQ(M().transcript.Count("CopyFileW"), 0u);
  M().registry.SetDword(std::wstring(L"HKLM\\") + kProtectedPrintPolicyKey, kProtectedPrintPolicyValue, 0);

  // Windows on ARM64, as IsWow64Process2 tells it, and as GetNativeSystemInfo
  // does where that is missing: code 13 before the spooler is asked or a file
  // written, also from the 32-bit program, which has no x64 program to hand to.
  for (const bool wow64Process2 : {true, false}) {
    for (const uint16_t process : {plat::kProcessorArchitectureArm64, plat::kProcessorArchitectureIntel}) {
      M().kernel.nativeArchitecture = plat::kProcessorArchitectureArm64;
      M().kernel.processArchitecture = process;
      M().kernel.wow64Process2Exported = wow64Process2;
      M().transcript.Clear();
      EXPECT_EQ(RunInstallProgram({L"/install", L"/model", L"QX-630K", L"/port", L"LPT1:"}), 13);
      EXPECT_TRUE(Printed(L"安装失败：13 此驱动程序包没有适用于本机处理器（ARM64）的驱动程序"));
      EXPECT_EQ(M().transcript.Ops({"OpenSCManagerW", "CopyFileW", "CreateDirectoryW", "CreateProcessW", "AddMonitorW"}),
                std::vector<std::string>{});
    }
  }
  M().kernel.nativeArchitecture = M().kernel.processArchitecture = plat::kProcessorArchitectureAmd64;
  M().kernel.wow64Process2Exported = true;

  // A spooler that will not run (disabled): code 7 after a bounded retry.
  M().services.Find(L"Spooler")->state = plat::kServiceStopped;
  M().services.Find(L"Spooler")->startError = 1058;  // ERROR_SERVICE_DISABLED
  M().transcript.Clear();
  EXPECT_EQ(RunInstallProgram({L"/install", L"/model", L"QX-630K", L"/port", L"LPT1:"}), 7);
  EXPECT_EQ(M().transcript.Count("StartServiceW"), static_cast<size_t>(kSpoolerStartTries));
  M().services.Find(L"Spooler")->startError = 0;

  // A library whose export names pass their cap is none of the package's: 9.
  const std::string library = M().fs.Contents(kSampleBranch + L"QX24RES.DLL");
  M().fs.AddFile(kSampleBranch + L"QX24RES.DLL", PeHeaders(kPeMachineAmd64, true, true, {std::string(31, 'n')}, 65536));
  EXPECT_EQ(RunInstallProgram({L"/install", L"/model", L"QX-630K", L"/port", L"LPT1:"}), 9);
  M().fs.AddFile(kSampleBranch + L"QX24RES.DLL", library);

  M().fs.Remove(kSampleBranch + L"QX-630K.GPD");
  EXPECT_EQ(RunInstallProgram({L"/install", L"/model", L"QX-630K", L"/port", L"LPT1:"}), 2);
  EXPECT_TRUE(Printed(L"安装失败：2 驱动文件无法复制"));
  M().fs.Remove(L"C:\\Setup\\PrinterInfo.ini");
  EXPECT_EQ(RunInstallProgram({L"/install", L"/model", L"QX-630K", L"/port", L"LPT1:"}), 1);
}

// Run from a folder the user can write, the program checks and uses its own
// copy of the package, in a folder made for Administrators and SYSTEM only:
// the monitor and the INF swapped beside the program once every check has
// read them change nothing that is installed. The copy is gone at the end,
// and the next run clears one that a killed run left.
TEST_F(InstallProgramTest, AFileSwappedBesideTheProgramAfterTheCheckChangesNothingInstalled) {
  const std::wstring driverFolder = M().spooler.driverDirectory + L"\\";
  const std::string monitor = M().fs.Contents(kSampleBranch + L"QXLMON.dll");
  const std::string inf = M().fs.Contents(kSampleBranch + L"24Pin.inf");
  M().fs.AddFile(kPayloadParent + kPayloadFolderPrefix + L"7.99\\24Pin\\X64\\QXLMON.dll", "left by a killed run");
  std::wstring payload;
  bool swapped = false;
  M().onCall = [&](const sim::Call& call) {
    if (call.op == "CreateDirectoryW" && call.detail.ends_with(sim::kAdministratorsOnly))
      payload = call.detail.substr(0, call.detail.find(L' ')) + L"\\";
    if (swapped || call.op != "CopyFileW" || call.detail.find(L"-> " + driverFolder) == std::wstring::npos) return;
    swapped = true;  // the first copy into the spooler's folder: every check is done
    EXPECT_TRUE(call.detail.starts_with(payload + L"24Pin\\X64\\")) << call.detail;
    EXPECT_FALSE(M().fs.UserCanWrite(payload + L"24Pin\\X64\\QXLMON.dll"));
    EXPECT_TRUE(M().fs.UserCanWrite(kSampleBranch + L"QXLMON.dll"));
    M().fs.AddFile(kSampleBranch + L"QXLMON.dll", "a monitor of the user's own");
    M().fs.AddFile(kSampleBranch + L"24Pin.inf", "[Version]\r\n; the user's own\r\n");
  };
  EXPECT_EQ(RunInstallProgram({L"/install", L"/model", L"QX-630K", L"/port", L"LPT1:"}), 0);
  M().onCall = nullptr;
  ASSERT_TRUE(swapped);
  EXPECT_TRUE(payload.starts_with(kPayloadParent + kPayloadFolderPrefix)) << payload;
  EXPECT_EQ(M().fs.Contents(driverFolder + L"QXLMON.dll"), monitor);
  ASSERT_EQ(M().infStore.staged.size(), 1u);
  EXPECT_EQ(M().infStore.staged[0].content, inf);
  EXPECT_EQ(M().spooler.Monitor(L"Kelvane Language Monitor")->dllName, driverFolder + L"QXLMON.dll");
  EXPECT_TRUE(M().fs.List(kPayloadParent).empty());

  // From Program Files nothing is copied: no standard user can write there.
  M().kernel.moduleFileName = L"C:\\Program Files\\Quillex\\QuillexInstall64.exe";
  AddSamplePackage(M(), L"C:\\Program Files\\Quillex\\24Pin\\X64\\");
  M().fs.AddFile(L"C:\\Program Files\\Quillex\\PrinterInfo.ini", M().fs.Contents(L"C:\\Setup\\PrinterInfo.ini"));
  M().transcript.Clear();
  EXPECT_EQ(RunInstallProgram({L"/install", L"/model", L"QX-630K", L"/port", L"LPT1:"}), 0);
  EXPECT_EQ(M().transcript.Count("RemoveDirectoryW"), 0u);
  // Nor may a payload folder be made where the Windows folder is unknown: code 2, nothing installed.
  M().kernel.moduleFileName = L"C:\\Setup\\QuillexInstall64.exe";
  M().specialFolders.erase(plat::kCsidlWindows);
  EXPECT_EQ(RunInstallProgram({L"/install", L"/model", L"QX-630K", L"/port", L"LPT1:"}), 2);
  EXPECT_EQ(M().spooler.Printer(L"Quillex QX-630K (副本 2)"), nullptr);
}

// Two models installed, one of them twice, beside printers of other makers:
// removing one model keeps what the other still uses; removing all leaves
// only the others' printers, and a second removal finds nothing to fail on.
TEST_F(InstallProgramTest, UninstallsOneModelThenAllAndNeverAnotherMakersPrinter) {
  const Args qx630{L"/install", L"/model", L"QX-630K", L"/port", L"LPT1:"};
  M().fs.AddFile(kSampleBranch + L"QX-730K.GPD", "gpd");
  ASSERT_EQ(RunInstallProgram(qx630), 0);
  ASSERT_EQ(RunInstallProgram(qx630), 0);
  ASSERT_EQ(RunInstallProgram({L"/install", L"/model", L"QX-730K", L"/port", L"LPT2:"}), 0);
  ASSERT_EQ(M().infStore.staged.size(), 1u);
  sim::Spooler& sp = M().spooler;
  sp.AddExistingPrinter(L"Quillex QX-630K (副本 2)");
  sp.printers.at(L"QUILLEX QX-630K (副本 2)").driverName = L"Generic / Text Only";
  sp.AddExistingPrinter(L"Acme LQ-300");
  // Named as ours throughout, but its data file is none of the package's.
  sp.AddExistingPrinter(L"Quillex QX-930K");
  sp.printers.at(L"QUILLEX QX-930K").driverName = L"Quillex QX-930K";
  sp.drivers[L"QUILLEX QX-930K"] = sp.drivers.at(L"QUILLEX QX-730K");
  sp.drivers[L"QUILLEX QX-930K"].name = L"Quillex QX-930K";
  sp.drivers[L"QUILLEX QX-930K"].dataFile = sp.driverDirectory + L"\\QX-930K.GPD";
  sp.drivers[L"QUILLEX QX-930K"].monitorName.reset();

  M().console.lines.clear();
  EXPECT_EQ(RunInstallProgram({L"/uninstall", L"/model", L"Quillex qx-630k"}), 0);
  for (const wchar_t* gone : {L"Quillex QX-630K", L"Quillex QX-630K (副本 1)"}) {
    EXPECT_EQ(sp.Printer(gone), nullptr) << gone;
    EXPECT_EQ(sp.Driver(gone), nullptr) << gone;
    EXPECT_TRUE(Printed(std::wstring(L"删除打印机：") + gone)) << gone;
  }
  EXPECT_NE(sp.Driver(L"Quillex QX-730K"), nullptr);
  EXPECT_NE(sp.Monitor(L"Kelvane Language Monitor"), nullptr);
  EXPECT_EQ(M().infStore.staged.size(), 1u);
  EXPECT_TRUE(Printed(L"保留 INF 文件和语言监视器，仍在使用它们的打印机：Quillex QX-730K"));
  EXPECT_TRUE(Printed(L"驱动卸载成功"));

  M().console.lines.clear();
  EXPECT_EQ(RunInstallProgram({L"/uninstall", L"/all"}), 0);
  EXPECT_EQ(sp.Printer(L"Quillex QX-730K"), nullptr);
  EXPECT_EQ(sp.drivers.size(), 1u);
  EXPECT_NE(sp.Driver(L"Quillex QX-930K"), nullptr);
  EXPECT_EQ(sp.Monitor(L"Kelvane Language Monitor"), nullptr);
  EXPECT_TRUE(M().infStore.staged.empty());
  // Read from the program's own copy of the package, which is gone again.
  EXPECT_TRUE(Printed(L"卸载 INF 文件：" + kPayloadParent + kPayloadFolderPrefix));
  EXPECT_TRUE(M().fs.List(kPayloadParent).empty());
  EXPECT_TRUE(Printed(L"删除语言监视器：Kelvane Language Monitor"));
  EXPECT_EQ(sp.printers.size(), 3u);  // the other makers' printers
  EXPECT_NE(sp.Printer(L"Quillex QX-630K (副本 2)"), nullptr);
  EXPECT_NE(sp.Printer(L"Acme LQ-300"), nullptr);

  EXPECT_EQ(RunInstallProgram({L"/uninstall", L"/all"}), 0);
  EXPECT_TRUE(M().infStore.staged.empty());  // asking the store for it staged nothing for good
  EXPECT_TRUE(M().namedObjects.byName.empty());
  EXPECT_TRUE(sp.open.empty());
}

// Removal is refused like an installation, and a failed removal names its
// code: a printer that stays keeps its driver, the INF and the monitor; a
// device installed from the INF keeps the INF without failing the removal.
TEST_F(InstallProgramTest, UninstallExitCodes) {
  ASSERT_EQ(RunInstallProgram({L"/install", L"/model", L"QX-630K", L"/port", L"LPT1:"}), 0);
  M().processes.elevated = false;
  EXPECT_EQ(RunInstallProgram({L"/uninstall", L"/all"}), 740);
  M().processes.elevated = true;

  M().faults.Fail("DeletePrinter", plat::kErrorAccessDenied);
  M().console.lines.clear();
  EXPECT_EQ(RunInstallProgram({L"/uninstall", L"/all"}), 6);
  EXPECT_TRUE(Printed(L"卸载失败：6 打印机无法创建（或删除）"));
  EXPECT_NE(M().spooler.Driver(L"Quillex QX-630K"), nullptr);
  EXPECT_NE(M().spooler.Monitor(L"Kelvane Language Monitor"), nullptr);
  EXPECT_EQ(M().infStore.staged.size(), 1u);

  // Another maker's driver is bound to the monitor: it stays, and that is no failure.
  plat::DriverInfo6 acme;
  acme.name = L"Acme LQ-300";
  acme.dataFile = M().spooler.driverDirectory + L"\\ACME300.GPD";
  acme.monitorName = L"Kelvane Language Monitor";
  M().spooler.drivers[L"ACME LQ-300"] = acme;
  M().devices.AddDevice(L"USB\\VID_D23C&PID_0001\\5&1", {L"USBPRINT\\QuillexQX-630K7B2E"});
  M().devices.devices[0].driverInf = M().infStore.staged[0].sourceInf;
  EXPECT_EQ(RunInstallProgram({L"/uninstall", L"/all"}), 0);
  EXPECT_TRUE(M().spooler.printers.empty());
  EXPECT_EQ(M().infStore.staged.size(), 1u);
  EXPECT_NE(M().spooler.Monitor(L"Kelvane Language Monitor"), nullptr);

  EXPECT_EQ(M().transcript.Count("DeleteMonitorW"), 0u);
  // Without it, any refusal of the delete is a failure: 3008 no longer means "someone else's".
  M().spooler.drivers.erase(L"ACME LQ-300");
  M().devices.devices[0].driverInf.clear();
  M().spooler.monitorsInUse.insert(L"KELVANE LANGUAGE MONITOR");
  EXPECT_EQ(RunInstallProgram({L"/uninstall", L"/all"}), 8);
  M().spooler.monitorsInUse.clear();
  M().faults.Fail("DeleteMonitorW", plat::kErrorAccessDenied);
  EXPECT_EQ(RunInstallProgram({L"/uninstall", L"/all"}), 8);
  EXPECT_TRUE(M().infStore.staged.empty());

  M().services.Find(L"Spooler")->state = plat::kServiceStopped;
  M().services.Find(L"Spooler")->startError = 1058;  // ERROR_SERVICE_DISABLED
  EXPECT_EQ(RunInstallProgram({L"/uninstall", L"/model", L"QX-630K"}), 7);
}

// What the MSI's install, upgrade, repair and second model run: "/update"
// keeps our printer on that port (name, settings, jobs) and stages the
// package and registers the monitor and its driver again; on another port it
// adds the printer there, once. The plain install still adds a copy. Every
// run's log starts with the version and the command.
TEST_F(InstallProgramTest, UpdateRefreshesThePrinterOnItsPortInsteadOfAddingACopy) {
  const Args update{L"/install", L"/model", L"QX-630K", L"/port", L"lpt1:", L"/update"};
  ASSERT_EQ(RunInstallProgram(update), 0);  // nothing there yet: installed as usual
  sim::Spooler& sp = M().spooler;
  ASSERT_NE(sp.Printer(L"Quillex QX-630K"), nullptr);
  plat::PrinterInfo2& printer = sp.printers.at(L"QUILLEX QX-630K");
  printer.comment = L"前台";
  printer.jobs = 2;
  const plat::DevMode settings = printer.devMode;
  const std::wstring stagedGpd = sp.driverDirectory + L"\\QX-630K.GPD";
  M().fs.AddFile(stagedGpd, "older version");
  M().console.lines.clear();
  M().transcript.Clear();

  EXPECT_EQ(RunInstallProgram(update), 0);
  EXPECT_EQ(sp.printers.size(), 1u);
  EXPECT_EQ(printer.comment, L"前台");
  EXPECT_EQ(printer.jobs, 2u);
  EXPECT_EQ(printer.devMode, settings);
  EXPECT_NE(M().fs.Contents(stagedGpd), "older version");
  EXPECT_EQ(M().transcript.Count("SetupCopyOEMInfW"), 1u);
  EXPECT_EQ(M().transcript.Count("AddMonitorW"), 1u);  // installed, ours bound to it: the spooler restarted onto the new DLL
  EXPECT_EQ(M().transcript.Count("AddPrinterDriverW"), 1u);
  EXPECT_EQ(M().transcript.Count("AddPrinterW") + M().transcript.Count("SetPrinterW"), 0u);
  EXPECT_TRUE(Printed(L"保留打印机，已更新：Quillex QX-630K"));
  EXPECT_TRUE(Printed(L"驱动安装成功"));

  const Args secondPort{L"/install", L"/model", L"QX-630K", L"/port", L"LPT2:", L"/update"};
  EXPECT_EQ(RunInstallProgram(secondPort), 0);
  EXPECT_EQ(RunInstallProgram(secondPort), 0);
  ASSERT_NE(sp.Printer(L"Quillex QX-630K (副本 1)"), nullptr);
  EXPECT_EQ(sp.Printer(L"Quillex QX-630K (副本 1)")->portName, L"LPT2:");
  EXPECT_EQ(sp.printers.size(), 2u);
  EXPECT_EQ(RunInstallProgram({L"/install", L"/model", L"QX-630K", L"/port", L"LPT1:"}), 0);
  EXPECT_NE(sp.Printer(L"Quillex QX-630K (副本 2)"), nullptr);

  size_t runs = 0;
  for (const std::wstring& message : LogMessages())
    runs += message == L"QuillexInstall " QX_VERSION_TEXT L" /install /model QX-630K /port LPT2: /update";
  EXPECT_EQ(runs, 2u);
}

// The MSI's removal: printing disabled leaves the printers, says so and
// succeeds, where the removal by hand fails with 7. A printer with jobs is
// left pending deletion with its jobs, its driver, the INF and the monitor,
// in one line; once its jobs are printed, a later removal finishes.
TEST_F(InstallProgramTest, RemovalKeepsPrintersWhilePrintingIsOffAndWaitsForQueuedJobs) {
  ASSERT_EQ(RunInstallProgram({L"/install", L"/model", L"QX-630K", L"/port", L"LPT1:"}), 0);
  ASSERT_EQ(RunInstallProgram({L"/install", L"/model", L"QX-630K", L"/port", L"LPT1:"}), 0);
  sim::Spooler& sp = M().spooler;
  M().services.Find(L"Spooler")->state = plat::kServiceStopped;
  M().services.Find(L"Spooler")->startError = 1058;  // ERROR_SERVICE_DISABLED
  EXPECT_EQ(RunInstallProgram({L"/uninstall", L"/all"}), 7);
  M().console.lines.clear();
  EXPECT_EQ(RunInstallProgram({L"/uninstall", L"/all", L"/spooleroptional"}), 0);
  EXPECT_EQ(sp.printers.size(), 2u);
  EXPECT_TRUE(Printed(L"未卸载：打印服务（Spooler）无法运行：Quillex 打印机及其驱动程序保留"));
  EXPECT_NE(LogMessages().back().find(L"Quillex 打印机及其驱动程序保留"), std::wstring::npos);
  M().services.Find(L"Spooler")->startError = 0;

  sp.printers.at(L"QUILLEX QX-630K (副本 1)").jobs = 3;
  M().console.lines.clear();
  EXPECT_EQ(RunInstallProgram({L"/uninstall", L"/all", L"/spooleroptional"}), 0);
  EXPECT_EQ(sp.Printer(L"Quillex QX-630K"), nullptr);
  EXPECT_EQ(sp.Driver(L"Quillex QX-630K"), nullptr);
  const plat::PrinterInfo2* waiting = sp.Printer(L"Quillex QX-630K (副本 1)");
  ASSERT_NE(waiting, nullptr);
  EXPECT_EQ(waiting->jobs, 3u);
  EXPECT_TRUE(waiting->status & plat::kPrinterStatusPendingDeletion);
  EXPECT_NE(sp.Driver(L"Quillex QX-630K (副本 1)"), nullptr);
  EXPECT_NE(sp.Monitor(L"Kelvane Language Monitor"), nullptr);
  EXPECT_EQ(M().infStore.staged.size(), 1u);
  size_t pendingLines = 0;
  for (const std::wstring& line : M().console.lines) pendingLines += line.rfind(L"待删除：Quillex QX-630K (副本 1)", 0) == 0;
  EXPECT_EQ(pendingLines, 1u);
  EXPECT_TRUE(Printed(L"驱动卸载成功"));
  EXPECT_EQ(M().transcript.Count("DeletePrinter"), 2u);
  EXPECT_EQ(RunInstallProgram({L"/uninstall", L"/all"}), 0);  // still waiting: asked once only
  EXPECT_EQ(M().transcript.Count("DeletePrinter"), 2u);

  sp.FinishJobs(L"Quillex QX-630K (副本 1)");
  EXPECT_EQ(sp.Printer(L"Quillex QX-630K (副本 1)"), nullptr);
  EXPECT_EQ(RunInstallProgram({L"/uninstall", L"/all"}), 0);
  EXPECT_TRUE(sp.drivers.empty());
  EXPECT_EQ(sp.Monitor(L"Kelvane Language Monitor"), nullptr);
  EXPECT_TRUE(M().infStore.staged.empty());
}

TEST_F(InstallProgramTest, DetectWithoutAPrinterTakesTheFirstModel) {
  EXPECT_EQ(RunInstallProgram({L"/install", L"/detect", L"/port", L"LPT1:"}), 0);
  EXPECT_NE(M().spooler.Printer(L"Quillex QX-630K"), nullptr);
}

// The 32-bit program on 64-bit Windows only forwards: same arguments, the
// console inherited, the native program's exit code returned.
TEST_F(InstallProgramTest, UnderWow64ForwardsToTheNativeProgram) {
  M().kernel.processArchitecture = plat::kProcessorArchitectureIntel;
  const std::wstring program = L"C:\\Setup\\QuillexInstall64.exe";
  M().fs.AddFile(program, PeHeaders(kPeMachineAmd64, true, false));
  M().processes.programs[sim::FileSystem::Key(program)] = [](const std::wstring&) { return 1618u; };
  EXPECT_EQ(RunInstallProgram({L"/install", L"/model", L"QX-630K", L"/port", L"LPT 1"}), 1618);
  EXPECT_EQ(RunInstallProgram({L"/uninstall", L"/all"}), 1618);  // the 64-bit monitor is removed from its own process
  ASSERT_EQ(M().processes.started.size(), 2u);
  // Started from a copy no user can change, under this program's lock, lent.
  const std::wstring copy = M().processes.started[0].application;
  EXPECT_TRUE(copy.starts_with(kPayloadParent + kPayloadFolderPrefix)) << copy;
  EXPECT_TRUE(M().processes.started[0].commandLine.starts_with(L"\"" + copy + L"\" /install /model QX-630K /port \"LPT 1\" /handoff "));
  EXPECT_NE(M().processes.started[1].commandLine.find(L"QuillexInstall64.exe\" /uninstall /all /handoff "), std::wstring::npos);
  EXPECT_TRUE(M().fs.List(kPayloadParent).empty());
  EXPECT_FALSE(M().processes.started[0].noWindow);
  EXPECT_EQ(M().spooler.Printer(L"Quillex QX-630K"), nullptr);
  M().fs.Remove(program);
  EXPECT_EQ(RunInstallProgram({L"/?"}), 11);
  EXPECT_TRUE(Printed(L"安装失败：11"));
}

// "/check" reads the package beside the program, even as the 32-bit program
// on 64-bit Windows and without elevation: no forwarding, no lock, no spooler.
TEST_F(InstallProgramTest, CheckPrintsEachFindingAndItsCountWithoutInstalling) {
  AddShippedPackage(M());
  M().kernel.processArchitecture = plat::kProcessorArchitectureIntel;
  M().processes.elevated = false;
  M().transcript.Clear();
  EXPECT_EQ(RunInstallProgram({L"/check"}), kExitCheckPassed);
  ASSERT_FALSE(M().console.lines.empty());
  EXPECT_EQ(M().console.lines.back(), L"驱动程序包检查通过：C:\\Setup\\");
  EXPECT_TRUE(M().processes.started.empty());
  EXPECT_TRUE(M().namedObjects.byName.empty());
  for (const sim::Call& call : M().transcript.Calls())
    EXPECT_TRUE(call.op.find("Printer") == std::string::npos && call.op.find("Service") == std::string::npos &&
                call.op != "CopyFileW" && call.op != "WriteFile")
        << call.op;

  M().fs.Remove(L"C:\\Setup\\24Pin\\X64\\QX-630K.GPD");
  M().fs.Remove(L"C:\\Setup\\字体");
  M().console.lines.clear();
  EXPECT_EQ(RunInstallProgram({L"/check", L"C:\\Setup"}), kExitCheckFindings);
  EXPECT_EQ(M().console.lines, (std::vector<std::wstring>{L"缺少型号 QX-630K 的数据文件：C:\\Setup\\24Pin\\X64\\QX-630K.GPD",
                                                          L"缺少字体文件夹：C:\\Setup\\字体\\",
                                                          L"驱动程序包检查发现 2 个问题：C:\\Setup"}));
  M().console.lines.clear();
  EXPECT_EQ(RunInstallProgram({L"/check", L"C:\\Nowhere"}), kExitCheckFindings);
  EXPECT_TRUE(Printed(L"驱动程序包文件夹不存在：C:\\Nowhere\\"));
  EXPECT_EQ(M().console.lines.size(), 2u);
}

// The package check: one fault per row on the shipped package, and the
// findings it must give, each as its text and the end of its path.
TEST_F(InstallProgramTest, PackageCheckNamesEveryFaultOfItsRow) {
  using Finding = std::pair<std::wstring, std::wstring>;
  using Fault = std::function<void(sim::Machine&)>;
  const std::wstring root = L"C:\\Pkg\\", x64 = root + L"24Pin\\X64\\", x86 = root + L"24Pin\\i386\\";
  auto put = [](const std::wstring& path, std::string bytes) { return [=](sim::Machine& m) { m.fs.AddFile(path, bytes); }; };
  auto remove = [](const std::wstring& path) { return [=](sim::Machine& m) { m.fs.Remove(path); }; };
  const std::string ini = kGbkModelSection + "\r\nCounts=2\r\n0=QX-630K\r\n1=QX-730K\r\n";
  const struct {
    const char* fault;
    Fault apply;
    std::vector<Finding> findings;
  } rows[] = {
      {"none", [](sim::Machine&) {}, {}},
      {"files in a sub-folder and in other letter case", [&](sim::Machine& m) {
         m.fs.Remove(x64 + L"QX-730K.GPD");
         m.fs.AddFile(x64 + L"Models\\qx-730k.gpd", "gpd");
       }, {}},
      {"a 32-bit DLL in X64", put(x64 + L"QX24RES.DLL", PeHeaders(kPeMachineI386, false, true)),
       {{L"不是 64 位（x64）库文件", L"\\24Pin\\X64\\QX24RES.DLL"}}},
      {"a 64-bit DLL in i386", put(root + L"9Pin\\i386\\QX9res.dll", PeHeaders(kPeMachineAmd64, true, true)),
       {{L"不是 32 位（x86）库文件", L"\\9Pin\\i386\\QX9res.dll"}}},
      {"a library that is no image", put(x64 + L"unires.dll", "text"),
       {{L"不是可读的 Windows 库文件", L"\\24Pin\\X64\\unires.dll"}}},
      {"a library whose export names pass their cap",
       put(x86 + L"QxSetUI.dll", PeHeaders(kPeMachineI386, false, true, {std::string(31, 'n')}, 65536)),
       {{L"不是可读的 Windows 库文件", L"\\24Pin\\i386\\QxSetUI.dll"}}},
      {"the monitor without its export", put(x86 + L"QXLMON.dll", PeHeaders(kPeMachineI386, false, true, {"DllMain"})),
       {{L"语言监视器没有导出 InitializePrintMonitor2", L"\\24Pin\\i386\\QXLMON.dll"}}},
      {"the printer interface without its export",
       put(root + L"9Pin\\X64\\UNIDRVUI.DLL", PeHeaders(kPeMachineAmd64, true, true, {"DllMain"})),
       {{L"打印机界面库没有导出 DrvDocumentPropertySheets", L"\\9Pin\\X64\\UNIDRVUI.DLL"}}},
      {"a missing GPD", remove(x86 + L"QX-730K.GPD"), {{L"缺少型号 QX-730K 的数据文件", L"\\24Pin\\i386\\QX-730K.GPD"}}},
      {"a file of the copy list missing", remove(root + L"9Pin\\X64\\QXMPdll.ini"),
       {{L"缺少驱动文件", L"\\9Pin\\X64\\QXMPdll.ini"}}},
      {"a branch missing", remove(root + L"9Pin\\i386"),
       {{L"无法列出驱动程序文件夹", L"\\9Pin\\i386\\"}, {L"无法读取 INF 文件", L"\\9Pin\\i386\\9Pin.inf"}}},
      // The model stays in the 32-bit section, which the 64-bit branch does not read.
      {"the INF without the model",
       put(x64 + L"24Pin.inf", "[Manufacturer]\r\nQ=Quillex_Tech,NTamd64\r\n[Quillex_Tech]\r\n"
                               "\"Quillex QX-730K\" = QX-730K.GPD, USBPRINT\\QuillexQX-730K51C4\r\n"
                               "[Quillex_Tech.NTamd64]\r\n\"Quillex QX-630K\" = QX-630K.GPD, USBPRINT\\QuillexQX-630K7B2E\r\n"
                               "; \"Quillex QX-730K\" = QX-730K.GPD, USBPRINT\\QuillexQX-730K51C4\r\n"),
       {{L"INF 文件的型号节 [Quillex_Tech.NTamd64] 没有型号 QX-730K", L"\\24Pin\\X64\\24Pin.inf"}}},
      {"a broken INF (UTF-16)", put(root + L"9Pin\\i386\\9Pin.inf", std::string("\xFF\xFE[\0M\0a\0n\0]\0", 12)),
       {{L"INF 文件的 [Manufacturer] 节没有条目", L"\\9Pin\\i386\\9Pin.inf"},
        {L"INF 文件缺少型号节 [Quillex_Tech]", L"\\9Pin\\i386\\9Pin.inf"}}},
      {"no INF", remove(x86 + L"24Pin.inf"), {{L"无法读取 INF 文件", L"\\24Pin\\i386\\24Pin.inf"}}},
      {"a non-GBK PrinterInfo.ini", put(root + L"PrinterInfo.ini", "; \x81\x20\r\n" + ini),
       {{L"不是 GBK 编码的文本", L"\\PrinterInfo.ini"}}},
      {"a non-GBK readme", put(root + L"USB驱动安装说明.txt", "Quillex \xB4\r\n"),
       {{L"不是 GBK 编码的文本", L"\\USB驱动安装说明.txt"}}},
      {"no readme", remove(root + L"USB驱动安装说明.txt"), {{L"无法读取文件", L"\\USB驱动安装说明.txt"}}},
      {"no models listed", put(root + L"PrinterInfo.ini", kGbkModelSection + "\r\nCounts=0\r\n"),
       {{L"PrinterInfo.ini 没有列出可安装的型号", L"\\PrinterInfo.ini"}}},
      {"a model that cannot name its file",
       put(root + L"PrinterInfo.ini", kGbkModelSection + "\r\nCounts=3\r\n0=QX-630K\r\n1=QX-730K\r\n2=CON\r\n"),
       {{L"型号名称不能用作文件名（CON）", L"\\PrinterInfo.ini"}}},
      {"no fonts folder", remove(root + L"字体"), {{L"缺少字体文件夹", L"\\字体\\"}}},
      {"an empty fonts folder", remove(root + L"字体\\wqy.ttc"), {{L"字体文件夹中没有字体文件", L"\\字体\\"}}},
  };
  for (const auto& row : rows) {
    SimTest::SetUp();
    AddShippedPackage(M(), root);
    row.apply(M());
    std::vector<Finding> found;
    for (const PackageFinding& f : CheckDriverPackage(L"C:\\Pkg")) found.push_back({f.what, f.where});
    ASSERT_EQ(found.size(), row.findings.size()) << row.fault << ": " << (found.empty() ? L"" : found[0].first);
    for (size_t i = 0; i < found.size(); ++i) {
      EXPECT_EQ(found[i].first, row.findings[i].first) << row.fault;
      EXPECT_TRUE(found[i].second.ends_with(row.findings[i].second)) << row.fault << ": " << found[i].second;
    }
    EXPECT_TRUE(M().fs.open.empty() && M().fs.searches.empty()) << row.fault;
  }
}

}  // namespace

namespace {

// The headers the install programs and libraries are judged by: any cut of
// them is no image, and the machine and header form must agree.
TEST(PeImageTest, HeadersDecideTheArchitectureAndACutImageIsNone) {
  const std::string x64 = PeHeaders(kPeMachineAmd64, true, false);
  PeImage image;
  for (size_t size = 0; size < 0x40 + 4 + 20 + 2; ++size) EXPECT_FALSE(ParsePeImage(x64.substr(0, size), image)) << size;
  ASSERT_TRUE(ParsePeImage(x64, image));
  EXPECT_TRUE(IsX64Image(image));
  EXPECT_FALSE(image.isDll);
  ASSERT_TRUE(ParsePeImage(PeHeaders(kPeMachineI386, false, true), image));
  EXPECT_TRUE(IsX86Image(image) && image.isDll && !IsX64Image(image));
  ASSERT_TRUE(ParsePeImage(PeHeaders(kPeMachineAmd64, false, false), image));  // AMD64 with a 32-bit header
  EXPECT_FALSE(IsX64Image(image) || IsX86Image(image));
  std::string notPe = x64;
  notPe[0x41] = 'X';
  EXPECT_FALSE(ParsePeImage(notPe, image));
}

// Export names are held to kMaxExportNameBytes in all, terminators counted,
// however few bytes the file spends on them: 65,536 names may share one text.
TEST(PeImageTest, ExportNamesStopAtTheirCapEvenWhenTheyShareOneText) {
  const size_t half = kMaxExportNameBytes / 2 - 1;  // two names and their terminators fill the cap
  PeImage image;
  ASSERT_TRUE(ParsePeImage(PeHeaders(kPeMachineAmd64, true, true, {std::string(half, 'a'), std::string(half, 'b')}), image));
  EXPECT_EQ(image.exports.size(), 2u);
  EXPECT_FALSE(ParsePeImage(PeHeaders(kPeMachineAmd64, true, true, {std::string(half, 'a'), std::string(half + 1, 'b')}), image));
  EXPECT_TRUE(image.exports.empty());
  // One text of 16 bytes under 65,536 names: 1 MiB exactly, then one name more.
  const std::string sixteen(15, 'n');
  ASSERT_TRUE(ParsePeImage(PeHeaders(kPeMachineAmd64, true, true, {sixteen}, 65536), image));
  EXPECT_EQ(image.exports.size(), 65536u);
  EXPECT_FALSE(ParsePeImage(PeHeaders(kPeMachineAmd64, true, true, {sixteen + "n"}, 65536), image));
  // A text without its terminator inside the cap, the rest of the file no matter.
  EXPECT_FALSE(ParsePeImage(PeHeaders(kPeMachineAmd64, true, true, {std::string(kMaxExportNameBytes, 'x')}), image));
}

}  // namespace
