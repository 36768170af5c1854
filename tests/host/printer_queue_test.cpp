#include <gtest/gtest.h>

#include "engine/driver_registration.h"
#include "engine/printer_queue.h"
#include "engine/uninstall_road.h"
#include "platform/error.h"
#include "platform/services.h"
#include "platform/spooler.h"
#include "platform/window.h"
#include "sample_package.h"
#include "sim_test.h"

namespace {

const std::wstring kDriverDir = L"C:\\windows\\system32\\spool\\drivers\\x64\\";
const std::wstring kMonitor = L"Kelvane Language Monitor";

class PrinterQueueTest : public SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    AddSamplePackage(M());
  }

  sim::Spooler& Sp() { return M().spooler; }
  bool Install(const std::wstring& model = L"QX-630K", const std::wstring& port = L"LPT1:") {
    return CreatePrinterQueue(model, port, model + L".GPD", Pin24);
  }
  std::vector<std::string> SpoolerOps() {
    return M().transcript.Ops({"AddMonitorW", "DeleteMonitorW", "AddPrinterDriverW", "AddPrinterW", "ControlService",
                               "StartServiceW", "SpoolerOrdinal204"});
  }
};

TEST_F(PrinterQueueTest, DependentFileListIsZeroSeparatedWithinItsBuffer) {
  std::vector<wchar_t> list = BuildDependentFileList(L"QX24RES.DLL;STDNAMES.GPD;unires.dll;QxSet.ini;QxSetUI.dll;QxSetUni.dll;");
  ASSERT_EQ(list.size(), 260u);
  std::wstring expected(L"QX24RES.DLL\0STDNAMES.GPD\0unires.dll\0QxSet.ini\0QxSetUI.dll\0QxSetUni.dll\0\0", 73);
  EXPECT_EQ(std::wstring(list.data(), expected.size()), expected);
  EXPECT_EQ(BuildDependentFileList(L"a;b;tail")[4], L'\0');  // text after the last ';' is ignored
  EXPECT_EQ(BuildDependentFileList(L"")[0], L'\0');
  // Names that would overflow the buffer are left out; the list stays closed.
  std::wstring longName(200, L'x');
  std::vector<wchar_t> cut = BuildDependentFileList(longName + L";" + longName + L";");
  EXPECT_EQ(std::wstring(cut.data()), longName);
  EXPECT_EQ(cut[201], L'\0');
  EXPECT_EQ(cut.back(), L'\0');
}

TEST_F(PrinterQueueTest, FirstInstallationFillsEveryStructureAsTheSpoolerExpects) {
  ASSERT_TRUE(Install());
  EXPECT_TRUE(ErrorBoxes().empty());

  const plat::MonitorInfo2* monitor = Sp().Monitor(kMonitor);
  ASSERT_NE(monitor, nullptr);
  EXPECT_EQ(monitor->name, kMonitor);
  EXPECT_FALSE(monitor->environment);
  EXPECT_EQ(monitor->dllName, kDriverDir + L"QXLMON.dll");

  const plat::DriverInfo6* d = Sp().Driver(L"Quillex QX-630K");
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->version, 3u);
  EXPECT_EQ(d->name, L"Quillex QX-630K");
  EXPECT_FALSE(d->environment);
  EXPECT_EQ(d->driverPath, kDriverDir + L"UNIDRV.DLL");
  EXPECT_EQ(d->dataFile, kDriverDir + L"QX-630K.GPD");
  EXPECT_EQ(d->configFile, kDriverDir + L"unidrvui.dll");
  EXPECT_EQ(d->helpFile, kDriverDir + L"unidrv.hlp");
  EXPECT_EQ(std::wstring(d->dependentFiles.data()), L"QX24RES.DLL");
  EXPECT_EQ(d->monitorName, kMonitor);
  EXPECT_EQ(d->defaultDataType, L"RAW");
  EXPECT_FALSE(d->previousNames);
  EXPECT_EQ(d->driverDate, 0u);
  EXPECT_EQ(d->driverVersion, 0u);
  EXPECT_EQ(d->mfgName, L"Quillex");
  EXPECT_FALSE(d->oemUrl || d->hardwareId || d->provider);

  const plat::PrinterInfo2* p = Sp().Printer(L"Quillex QX-630K");
  ASSERT_NE(p, nullptr);
  EXPECT_FALSE(p->serverName || p->shareName || p->comment || p->location || p->sepFile || p->parameters);
  EXPECT_EQ(p->portName, L"LPT1:");
  EXPECT_EQ(p->driverName, L"Quillex QX-630K");
  EXPECT_EQ(p->printProcessor, L"winprint");
  EXPECT_EQ(p->datatype, L"RAW");
  EXPECT_EQ(p->attributes, plat::kPrinterAttributeLocal);
  EXPECT_TRUE(p->securityDescriptor.empty());

  // No spooler restart on a machine without the monitor.
  EXPECT_EQ(SpoolerOps(), (std::vector<std::string>{"AddMonitorW", "AddPrinterDriverW", "AddPrinterW", "SpoolerOrdinal204"}));
  EXPECT_EQ(Sp().ordinal204Calls, std::vector<std::wstring>{L"Quillex QX-630K"});
}

// The drivers bound to the installed monitor decide its replacement: ours
// alone keep its registration (the spooler will not delete it under them)
// and a restart loads the DLL refreshed in place; another maker's keeps it
// untouched; none: restart, delete, restart, add.
TEST_F(PrinterQueueTest, LaterInstallationReplacesTheMonitorAndTakesTheNextName) {
  ASSERT_TRUE(Install());
  M().transcript.Clear();
  uint64_t before = M().clock.NowMs();
  ASSERT_TRUE(Install());
  EXPECT_EQ(SpoolerOps(), (std::vector<std::string>{"AddMonitorW", "ControlService", "StartServiceW", "AddPrinterDriverW",
                                                    "AddPrinterW", "SpoolerOrdinal204"}));
  EXPECT_GE(M().clock.NowMs() - before, 4000u);  // one restart of 2 + 2 s
  EXPECT_EQ(Sp().Monitor(kMonitor)->dllName, kDriverDir + L"QXLMON.dll");
  EXPECT_NE(Sp().Printer(L"Quillex QX-630K (副本 1)"), nullptr);
  const plat::DriverInfo6* d = Sp().Driver(L"Quillex QX-630K (副本 1)");
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->dataFile, kDriverDir + L"QX-630K.GPD");
  EXPECT_EQ(Sp().ordinal204Calls.back(), L"Quillex QX-630K (副本 1)");

  plat::DriverInfo6 acme;
  acme.name = L"Acme LQ-300";
  acme.dataFile = kDriverDir + L"ACME300.GPD";
  acme.monitorName = kMonitor;
  Sp().drivers.clear();
  Sp().drivers[L"ACME LQ-300"] = acme;
  M().transcript.Clear();
  ASSERT_TRUE(Install());
  EXPECT_EQ(SpoolerOps(), (std::vector<std::string>{"AddMonitorW", "AddPrinterDriverW", "AddPrinterW", "SpoolerOrdinal204"}));
  EXPECT_TRUE(ErrorBoxes().empty());

  Sp().drivers.clear();
  M().transcript.Clear();
  before = M().clock.NowMs();
  ASSERT_TRUE(Install());
  EXPECT_EQ(SpoolerOps(), (std::vector<std::string>{"AddMonitorW", "ControlService", "StartServiceW", "DeleteMonitorW",
                                                    "ControlService", "StartServiceW", "AddMonitorW",
                                                    "AddPrinterDriverW", "AddPrinterW", "SpoolerOrdinal204"}));
  EXPECT_GE(M().clock.NowMs() - before, 9000u);  // two restarts of 2 + 2 s and the 1 s pause
}

TEST_F(PrinterQueueTest, NameSequence) {
  EXPECT_EQ(ChoosePrinterName(L"Quillex A"), L"Quillex A");
  Sp().AddExistingPrinter(L"Quillex A");
  Sp().AddExistingPrinter(L"Quillex A (副本 1)");
  Sp().AddExistingPrinter(L"Quillex A (副本 3)");
  EXPECT_EQ(ChoosePrinterName(L"Quillex A"), L"Quillex A (副本 2)");  // the gap is used again
  Sp().openRefusals[L"QUILLEX A (副本 2)"] = plat::kErrorAccessDenied;
  EXPECT_EQ(ChoosePrinterName(L"Quillex A"), L"Quillex A (副本 2)");  // any failure to open ends the search
  EXPECT_TRUE(Sp().open.empty());                                       // every probe was closed
}

// The names the queue road gives are the only ones removal takes for ours,
// and only with a driver named the same way for the same model.
TEST_F(PrinterQueueTest, OurNameFormsAndOurPrinters) {
  const struct {
    const wchar_t* printer;
    const wchar_t* driver;
    const wchar_t* model;  // of the name; empty: not of our form
    bool oursOfQx630k, oursOfAny;
  } rows[] = {
      {L"Quillex QX-630K", L"Quillex QX-630K", L"QX-630K", true, true},
      {L"Quillex QX-630K (副本 12)", L"Quillex QX-630K (副本 12)", L"QX-630K", true, true},
      {L"Quillex qx-630k (副本 1)", L"Quillex QX-630K", L"qx-630k", true, true},  // a Plug and Play queue: the INF's driver
      {L"Quillex QX-630K (副本 1)", L"Generic / Text Only", L"QX-630K", false, false},  // another maker's driver
      {L"Quillex QX-730K", L"Quillex QX-730K", L"QX-730K", false, true},
      {L"Quillex QX-630K (副本 01)", L"Quillex QX-630K (副本 01)", L"QX-630K (副本 01)", false, true},
      {L"Quillex QX-630K (副本 0)", L"Quillex QX-630K", L"QX-630K (副本 0)", false, false},
      {L"Quillex QX-630K (副本 )", L"Quillex QX-630K", L"QX-630K (副本 )", false, false},
      {L"Quillex QX-630K (副本 x)", L"Quillex QX-630K", L"QX-630K (副本 x)", false, false},
      {L"Acme QX-630K", L"Acme QX-630K", L"", false, false},
      {L"quillex QX-630K", L"quillex QX-630K", L"", false, false},  // the brand as the road writes it
      {L"Quillex ", L"Quillex ", L"", false, false},
      {L"Quillex QX-630K", L"", L"QX-630K", false, false},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(ModelOfPrinterName(r.printer), r.model) << r.printer;
    plat::PrinterInfo2 p;
    p.printerName = r.printer;
    p.driverName = r.driver;
    EXPECT_EQ(IsOurPrinter(p, L"QX-630K"), r.oursOfQx630k) << r.printer << " / " << r.driver;
    EXPECT_EQ(IsOurPrinter(p, L""), r.oursOfAny) << r.printer << " / " << r.driver;
  }
}

TEST_F(PrinterQueueTest, ModelThatHoldsTheBrandGetsNoSecondPrefix) {
  M().fs.AddFile(L"C:\\Setup\\24Pin\\X64\\Old Quillex X.GPD", "gpd");
  ASSERT_TRUE(Install(L"Old Quillex X"));
  EXPECT_NE(Sp().Printer(L"Old Quillex X"), nullptr);
}

TEST_F(PrinterQueueTest, NoFreeNameAfterTheLastCopyShowsBoxSixAndInstallsNothing) {
  Sp().AddExistingPrinter(L"Quillex QX-630K");
  for (int n = 1; n <= kMaxPrinterCopies; ++n)
    Sp().AddExistingPrinter(L"Quillex QX-630K (副本 " + std::to_wstring(n) + L")");
  EXPECT_FALSE(Install());
  EXPECT_EQ(ErrorBoxes(), std::vector<std::wstring>{L"6"});
  EXPECT_EQ(M().transcript.Count("OpenPrinterW"), kMaxPrinterCopies + 1u);
  EXPECT_EQ(M().transcript.Count("GetPrinterDriverDirectoryW"), 0u);  // nothing staged
  EXPECT_TRUE(Sp().open.empty());
}

TEST_F(PrinterQueueTest, DevModeWithOrientationGoesThroughTheDriverAndIsBroadcast) {
  ASSERT_TRUE(Install());
  ASSERT_EQ(Sp().setPrinterCalls.size(), 1u);
  const plat::PrinterInfo2& set = Sp().setPrinterCalls[0];
  EXPECT_TRUE(plat::DevModeFields(set.devMode) & plat::kDmOrientation);
  EXPECT_EQ(set.attributes & plat::kPrinterAttributeEnableBidi, 0u);
  EXPECT_TRUE(set.securityDescriptor.empty());
  ASSERT_EQ(Sp().openDefaults.size(), 1u);
  EXPECT_EQ(Sp().openDefaults[0].desiredAccess, plat::kPrinterAllAccess);
  EXPECT_FALSE(Sp().openDefaults[0].datatype);
  ASSERT_EQ(Sp().broadcasts.size(), 1u);
  const auto& b = Sp().broadcasts[0];
  EXPECT_EQ(b.window, plat::kHwndBroadcast);
  EXPECT_EQ(b.message, 0x1Bu);
  EXPECT_EQ(b.wParam, 0u);
  EXPECT_EQ(b.text, L"Quillex QX-630K");
  EXPECT_EQ(b.flags, 0u);
  EXPECT_EQ(b.timeoutMs, 1000u);
  EXPECT_EQ(M().transcript.Ops({"DocumentPropertiesW"}).size(), 3u);  // size, default, pass-through
}

TEST_F(PrinterQueueTest, DevModeWithoutOrientationChangesNothing) {
  Sp().driverDevModeHasOrientation = false;
  Sp().AddExistingPrinter(L"Quillex B");
  plat::PrinterInfo2& stored = Sp().printers[L"QUILLEX B"];
  stored.attributes |= plat::kPrinterAttributeEnableBidi;
  ApplyPrinterDefaults(L"Quillex B");
  EXPECT_TRUE(Sp().setPrinterCalls.empty());
  EXPECT_TRUE(Sp().broadcasts.empty());
  EXPECT_TRUE(Sp().Printer(L"Quillex B")->attributes & plat::kPrinterAttributeEnableBidi);
}

TEST_F(PrinterQueueTest, DevModeThePrinterHoldsIsUsedWithoutAskingTheDriverForOne) {
  Sp().AddExistingPrinter(L"Quillex C");
  Sp().printers[L"QUILLEX C"].devMode = sim::Spooler::DriverDevMode(L"Quillex C", true);
  ApplyPrinterDefaults(L"Quillex C");
  EXPECT_EQ(M().transcript.Ops({"DocumentPropertiesW"}).size(), 2u);  // the driver's size, the pass-through
  EXPECT_EQ(Sp().setPrinterCalls.size(), 1u);
}

// A devmode stored by an older driver holds only the public part.
TEST_F(PrinterQueueTest, StoredDevModeShorterThanTheDriversGetsABufferOfTheDriversSize) {
  Sp().AddExistingPrinter(L"Quillex E");
  plat::DevMode older = sim::Spooler::DriverDevMode(L"Quillex E", true);
  older.resize(156);
  older[68] = 156;  // dmSize
  Sp().printers[L"QUILLEX E"].devMode = older;
  ApplyPrinterDefaults(L"Quillex E");
  EXPECT_EQ(Sp().devModeOverruns, 0);
  ASSERT_EQ(Sp().setPrinterCalls.size(), 1u);
  EXPECT_EQ(Sp().setPrinterCalls[0].devMode.size(), 220u);
  EXPECT_EQ(Sp().broadcasts.size(), 1u);
}

TEST_F(PrinterQueueTest, FailuresOfTheDefaultsAreQuiet) {
  Sp().AddExistingPrinter(L"Quillex D");
  M().faults.Fail("GetPrinterW", plat::kErrorAccessDenied);
  ApplyPrinterDefaults(L"Quillex D");
  M().faults.Fail("SetPrinterW", plat::kErrorAccessDenied);
  ApplyPrinterDefaults(L"Quillex D");
  EXPECT_TRUE(Sp().broadcasts.empty());
  EXPECT_TRUE(Sp().open.empty());
  M().faults.Fail("DocumentPropertiesW", 0, 3);  // the pass-through fails
  ASSERT_TRUE(Install());                         // without effect on the result
  EXPECT_TRUE(Sp().broadcasts.empty());
}

TEST_F(PrinterQueueTest, UnknownPortShowsBoxSixAndTakesBackTheDriverOfThisRun) {
  EXPECT_FALSE(Install(L"QX-630K", L"USB009"));
  EXPECT_EQ(ErrorBoxes(), std::vector<std::wstring>{L"6"});
  EXPECT_NE(Sp().Monitor(kMonitor), nullptr);
  EXPECT_EQ(Sp().Driver(L"Quillex QX-630K"), nullptr);
  EXPECT_TRUE(Sp().ordinal204Calls.empty());
}

TEST_F(PrinterQueueTest, DriverThatCannotBeAddedShowsBoxFour) {
  M().faults.Fail("AddPrinterDriverW", plat::kErrorAccessDenied);
  EXPECT_FALSE(Install());
  EXPECT_EQ(ErrorBoxes(), std::vector<std::wstring>{L"4"});
  EXPECT_EQ(Sp().Printer(L"Quillex QX-630K"), nullptr);
}

// A refused monitor is box 8; one refused after the old one was deleted is
// replaced by the old one, registered again from its kept DLL.
TEST_F(PrinterQueueTest, MonitorProblemsShowBoxEightAndNeverLeaveTheMonitorMissing) {
  M().faults.Fail("AddMonitorW", plat::kErrorAccessDenied);
  EXPECT_FALSE(Install());
  ASSERT_TRUE(Install());  // now the monitor is there
  Sp().drivers.clear();     // no driver bound to it: it is deleted and added again
  Sp().monitorsInUse.insert(L"KELVANE LANGUAGE MONITOR");
  EXPECT_FALSE(Install());
  EXPECT_EQ(Sp().Driver(L"Quillex QX-630K (副本 1)"), nullptr);
  Sp().monitorsInUse.clear();
  M().faults.Fail("AddMonitorW", 193, 2);  // the new DLL refused after the delete
  EXPECT_FALSE(Install());
  EXPECT_EQ(ErrorBoxes(), (std::vector<std::wstring>{L"8", L"8", L"8"}));
  ASSERT_NE(Sp().Monitor(kMonitor), nullptr);
  EXPECT_EQ(Sp().Monitor(kMonitor)->dllName, KeptMonitorPath(kDriverDir.substr(0, kDriverDir.size() - 1)));
  EXPECT_EQ(M().fs.Contents(Sp().Monitor(kMonitor)->dllName), M().fs.Contents(kDriverDir + L"QXLMON.dll"));
}

TEST_F(PrinterQueueTest, FailedStagingIsAFailureAlsoForAnInfSyntaxError) {
  M().faults.Fail("SetupCopyOEMInfW", plat::kErrorGeneralSyntax);
  EXPECT_FALSE(Install());
  EXPECT_EQ(ErrorBoxes(), std::vector<std::wstring>{L"3"});
  EXPECT_TRUE(Sp().drivers.empty());
  EXPECT_TRUE(Sp().printers.empty());
  EXPECT_TRUE(Sp().ordinal204Calls.empty());
}

TEST_F(PrinterQueueTest, StoppedSpoolerFailsTheInstallation) {
  M().services.Add(L"Spooler", plat::kServiceStopped);
  EXPECT_FALSE(Install());
  EXPECT_TRUE(Sp().printers.empty());
}

}  // namespace
