// Broken packages through a whole installation: what the user is told, that
// nothing hangs, and that nothing is written but the spooler's driver folder,
// the fonts folder and the install log, and nothing of what was there is lost.
#include <gtest/gtest.h>

#include "engine/install_job.h"
#include "platform/kernel.h"
#include "platform/services.h"
#include "sample_package.h"
#include "sim_test.h"
#include "written_files.h"

namespace {

plat::Handle const kWizard = reinterpret_cast<plat::Handle>(0x7002);
const std::wstring kDriverFolder = L"C:\\windows\\system32\\spool\\drivers\\x64";
const std::wstring kMonitor = L"Kelvane Language Monitor";

class BadInputTest : public SimTest {
 protected:
  // The QX-630K installed from the 24-pin branch of this machine's architecture.
  std::vector<intptr_t> Install(const std::wstring& detectedModel = L"") {
    auto job = std::make_unique<InstallJob>();
    job->ownerWindow = kWizard;
    job->modelName = L"QX-630K";
    job->portName = L"LPT1:";
    job->dataFile = L"QX-630K.GPD";
    job->pinFamily = Pin24;
    job->detectedModel = detectedModel;
    StartInstallWorker(std::move(job));
    M().JoinThreads();
    std::vector<intptr_t> results;
    for (const auto& m : M().windows.sent)
      if (m.message == WM_INSTALL_DONE) results.push_back(m.lParam);
    return results;
  }
  std::vector<std::wstring> WrittenElsewhere() const {
    return before.ChangedOutside(M().fs, {kDriverFolder, L"C:\\windows\\Fonts", L"C:\\users\\Quillex\\Documents\\Tovanta"});
  }
  // The printer on the 32-bit machine, where the Plug and Play road may run.
  void ConnectPrinterTo32BitWindows() {
    M().kernel.nativeArchitecture = plat::kProcessorArchitectureIntel;
    AddSamplePackage(M(), kSampleBranch32);
    M().devices.AddDevice(L"USB\\VID_D23C&PID_0001\\5&1", {L"usb\\vid_d23c&pid_0001&rev_0100"});
  }
  void TakeSnapshot() { before = FileSystemSnapshot(M().fs); }

  FileSystemSnapshot before{M().fs};
};

const std::string kModelsLine = "\"Quillex QX-630K\" = QX-630K.GPD, USB\\VID_D23C&PID_0001\r\n";

// A UTF-16 INF holds no section the catalog can see: the Plug and Play road
// finds no model and the queue road installs the printer.
TEST_F(BadInputTest, Utf16InfSkipsThePlugAndPlayRoadAndTheQueueInstalls) {
  ConnectPrinterTo32BitWindows();
  std::string inf = "\xFF\xFE";
  for (char c : "[Manufacturer]\r\nQ=Quillex_Tech\r\n[Quillex_Tech]\r\n" + kModelsLine) inf += {c, '\0'};
  M().fs.AddFile(kSampleBranch32 + L"24Pin.inf", inf);
  TakeSnapshot();
  EXPECT_EQ(Install(L"QX-630K"), std::vector<intptr_t>{1});
  EXPECT_EQ(M().transcript.Count("UpdateDriverForPlugAndPlayDevicesW"), 0u);
  EXPECT_NE(M().spooler.Printer(L"Quillex QX-630K"), nullptr);
  EXPECT_TRUE(ErrorBoxes().empty());
  EXPECT_EQ(WrittenElsewhere(), std::vector<std::wstring>{});
}

// 50 MB of file list before the sections: read once, in 4 KB reads, and the
// device's driver updated from it.
TEST_F(BadInputTest, InfOf50MegabytesIsReadOnceAndUsed) {
  ConnectPrinterTo32BitWindows();
  std::string inf = "[SourceDisksFiles]\r\n";
  inf.reserve(50u << 20);
  while (inf.size() < (50u << 20)) inf += "unidrv" + std::to_string(inf.size()) + ".dll = 1,,,,,,,,,,,,,,,,,,,,,\r\n";
  inf += "[Manufacturer]\r\nQ=Quillex_Tech\r\n[Quillex_Tech]\r\n" + kModelsLine + "[Strings]\r\n";
  M().fs.AddFile(kSampleBranch32 + L"24Pin.inf", inf);
  inf = std::string();
  TakeSnapshot();
  EXPECT_EQ(Install(L"QX-630K"), std::vector<intptr_t>{1});
  ASSERT_EQ(M().devices.updates.size(), 1u);
  EXPECT_LE(M().transcript.Count("ReadFile"), (50u << 20) / 4096 + 2);
  EXPECT_EQ(M().transcript.Count("AddPrinterW"), 0u);
  EXPECT_EQ(WrittenElsewhere(), std::vector<std::wstring>{});
}

// A line of 1 MB is a line like any other: as a comment, and as an entry of
// the models section, which matches no device.
TEST_F(BadInputTest, LineOf1MegabyteIsReadWhole) {
  ConnectPrinterTo32BitWindows();
  const std::string huge(1u << 20, 'X');
  M().fs.AddFile(kSampleBranch32 + L"24Pin.inf", "[Manufacturer]\r\n;" + huge + "\r\nQ=Quillex_Tech\r\n[Quillex_Tech]\r\nA=a," +
                                                     huge + "\r\n" + kModelsLine + "[Strings]\r\n");
  TakeSnapshot();
  EXPECT_EQ(Install(L"QX-630K"), std::vector<intptr_t>{1});
  ASSERT_EQ(M().devices.updates.size(), 1u);
  EXPECT_EQ(M().devices.updates[0].hardwareId, L"usb\\vid_d23c&pid_0001&rev_0100");
  EXPECT_TRUE(ErrorBoxes().empty());
  EXPECT_EQ(WrittenElsewhere(), std::vector<std::wstring>{});
}

// Without its branch folder the package cannot be copied: box "2", the
// reason in the log, and the spooler left alone.
TEST_F(BadInputTest, MissingBranchFolderShowsBoxTwoAndChangesNothing) {
  TakeSnapshot();
  EXPECT_EQ(Install(), std::vector<intptr_t>{0});
  EXPECT_EQ(ErrorBoxes(), std::vector<std::wstring>{L"2"});
  ASSERT_EQ(LogMessages().size(), 1u);
  // The branch is read from the installer's own copy of the package.
  EXPECT_TRUE(LogMessages()[0].starts_with(L"FindFirstFileW C:\\windows\\Temp\\QuillexPayload.")) << LogMessages()[0];
  EXPECT_TRUE(LogMessages()[0].ends_with(L"\\24Pin\\X64\\ failed with error 3: The system cannot find the path specified.\r\n"));
  EXPECT_TRUE(M().fs.List(kDriverFolder).empty());
  EXPECT_EQ(M().transcript.Count("ControlService"), 0u);
  EXPECT_EQ(M().transcript.Count("SetupCopyOEMInfW"), 0u);
  EXPECT_EQ(WrittenElsewhere(), std::vector<std::wstring>{});
}

// The data file is in the branch's list: a branch without it is refused
// before anything is copied or registered.
TEST_F(BadInputTest, MissingGpdShowsBoxTwoAndChangesNothing) {
  AddSamplePackage(M());
  M().fs.Remove(kSampleBranch + L"QX-630K.GPD");
  TakeSnapshot();
  EXPECT_EQ(Install(), std::vector<intptr_t>{0});
  EXPECT_EQ(ErrorBoxes(), std::vector<std::wstring>{L"2"});
  ASSERT_EQ(LogMessages().size(), 1u);
  EXPECT_NE(LogMessages()[0].find(L"QX-630K.GPD"), std::wstring::npos);
  EXPECT_TRUE(M().fs.List(kDriverFolder).empty());
  EXPECT_EQ(M().transcript.Count("ControlService"), 0u);
  EXPECT_EQ(M().spooler.Printer(L"Quillex QX-630K"), nullptr);
  EXPECT_EQ(WrittenElsewhere(), std::vector<std::wstring>{});
}

// An empty monitor library would replace the working one and then fail to
// load, leaving the machine without its monitor: the package is refused
// before anything is copied or registered.
TEST_F(BadInputTest, ZeroByteMonitorLibraryIsRefusedAndTheInstalledMonitorKept) {
  AddSamplePackage(M());
  M().fs.AddFile(kSampleBranch + L"QXLMON.dll", "");
  M().fs.AddFile(kDriverFolder + L"\\QXLMON.dll", "the working monitor");
  M().spooler.monitors[L"KELVANE LANGUAGE MONITOR"] = {kMonitor, std::nullopt, kDriverFolder + L"\\QXLMON.dll"};
  TakeSnapshot();
  EXPECT_EQ(Install(), std::vector<intptr_t>{0});
  EXPECT_EQ(ErrorBoxes(), std::vector<std::wstring>{L"2"});
  ASSERT_EQ(LogMessages().size(), 1u);
  EXPECT_TRUE(LogMessages()[0].starts_with(L"驱动文件为空: C:\\windows\\Temp\\QuillexPayload.")) << LogMessages()[0];
  EXPECT_TRUE(LogMessages()[0].ends_with(L"\\24Pin\\X64\\QXLMON.dll"));
  EXPECT_EQ(M().fs.Contents(kDriverFolder + L"\\QXLMON.dll"), "the working monitor");
  EXPECT_EQ(M().fs.List(kDriverFolder).size(), 1u);
  EXPECT_NE(M().spooler.Monitor(kMonitor), nullptr);
  EXPECT_EQ(M().transcript.Count("ControlService"), 0u);
  EXPECT_EQ(M().services.State(L"Spooler"), plat::kServiceRunning);
  EXPECT_EQ(WrittenElsewhere(), std::vector<std::wstring>{});
}

}  // namespace
