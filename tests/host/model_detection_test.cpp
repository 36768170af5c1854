#include <gtest/gtest.h>

#include "catalog/model_name.h"
#include "discovery/model_detection.h"
#include "discovery/usb_printer.h"
#include "discovery_machine.h"
#include "platform/window.h"

namespace {

using discovery_machine::AddParallelPort;
using discovery_machine::AddUsbPrinter;
using discovery_machine::UsbPath;
using Rows = std::vector<std::wstring>;

plat::Handle const kWizard = reinterpret_cast<plat::Handle>(0x77);

class DetectPrinterModelTest : public SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    UsbPortFilter = L"vid_d23c&pid_0001";
  }
  // PrinterInfo.ini in GBK: the model names as keys 0, 1, ... and `extra` lines behind.
  void WriteConfiguration(const std::vector<std::string>& models, const std::string& extra = "") {
    std::string text = "[82\xC1\xD0\xC6\xB1\xBE\xDD\xB4\xF2\xD3\xA1\xBB\xFA]\r\nCounts=" + std::to_string(models.size()) + "\r\n";
    for (size_t i = 0; i < models.size(); ++i) text += std::to_string(i) + "=" + models[i] + "\r\n";
    M().fs.AddFile(L"C:\\Setup\\PrinterInfo.ini", text + extra);
  }
  ModelListRows DetectWithUsbModel(const std::string& model) {
    M().devices.devices.clear();
    AddUsbPrinter(UsbPath(L"vid_d23c&pid_0001", L"1"), 1, "MFG:Quillex;MDL:" + model + ";");
    return DetectPrinterModel(info, kWizard, detected);
  }
  CPrinterInfoFile info;
  std::wstring detected = L"stale";
};

TEST_F(DetectPrinterModelTest, TheLastContainedNameIsSelected) {
  WriteConfiguration({"X-1", "X-10"});
  ModelListRows page = DetectWithUsbModel("X-10");
  EXPECT_EQ(page.rows, (Rows{L"Quillex X-1", L"Quillex X-10"}));
  EXPECT_EQ(page.selected, 1);
  EXPECT_EQ(detected, L"X-10");
  WriteConfiguration({"X-10", "X-1"});
  EXPECT_EQ(DetectWithUsbModel("X-10").selected, 1);
}

TEST_F(DetectPrinterModelTest, WithoutAnExactCaseSensitiveContainmentTheFirstRow) {
  WriteConfiguration({"X-100", "X-10"});
  EXPECT_EQ(DetectWithUsbModel("x-10").selected, 0);
  WriteConfiguration({"Y-1", "X-100"});
  EXPECT_EQ(DetectWithUsbModel("X-10").selected, 0);
}

TEST_F(DetectPrinterModelTest, EmptyEntriesGetNoRowEmptyTablesNoSelection) {
  WriteConfiguration({"", "X-10"});
  ModelListRows page = DetectWithUsbModel("X-10");
  EXPECT_EQ(page.rows, (Rows{L"Quillex X-10"}));
  EXPECT_EQ(page.selected, 0);
  WriteConfiguration({});
  page = DetectWithUsbModel("X-10");
  EXPECT_TRUE(page.rows.empty());
  EXPECT_EQ(page.selected, -1);
}

TEST_F(DetectPrinterModelTest, UsbFirstThenTheParallelPort) {
  WriteConfiguration({"QX-300"});
  AddUsbPrinter(UsbPath(L"vid_d23c&pid_0001", L"1"), 1, "MDL:QX-630K;");
  AddParallelPort(L"ACPI\\PNP0401\\1", L"ECP Printer Port (LPT1)", L"LPT1", "MFG:Quillex;MDL:QX-300;");
  ModelListRows page = DetectPrinterModel(info, kWizard, detected);
  EXPECT_EQ(detected, L"QX-300");
  EXPECT_EQ(page.selected, 0);
  EXPECT_EQ(M().transcript.Ops({"DeviceIoControl"}).size(), 2u);
  auto calls = M().transcript.Calls();
  auto usb = std::find_if(calls.begin(), calls.end(), [](const sim::Call& c) { return c.detail.find(L"usb#") != std::wstring::npos; });
  auto lpt = std::find_if(calls.begin(), calls.end(), [](const sim::Call& c) { return c.detail == L"\\\\.\\LPT1"; });
  EXPECT_LT(usb - calls.begin(), lpt - calls.begin());
}

TEST_F(DetectPrinterModelTest, TheFilterIsRefreshedFromTheFileBeforeTheUsbSearch) {
  WriteConfiguration({"QX-300"}, "[VID_PID]\r\nVID=vid_1234\r\n");
  DetectPrinterModel(info, kWizard, detected);
  EXPECT_EQ(UsbPortFilter, L"vid_1234&");
  auto ops = M().transcript.Ops({"GetPrivateProfileStringW", "SetupDiGetClassDevsW"});
  EXPECT_EQ(ops.front(), "GetPrivateProfileStringW");
  WriteConfiguration({"QX-300"}, "[VID_PID]\r\nPID=pid_0002\r\n");
  DetectPrinterModel(info, kWizard, detected);
  EXPECT_EQ(UsbPortFilter, L"&pid_0002");
  WriteConfiguration({"QX-300"});
  DetectPrinterModel(info, kWizard, detected);
  EXPECT_EQ(UsbPortFilter, L"&pid_0002");
}

TEST_F(DetectPrinterModelTest, AMissingConfigurationShowsBoxOneThenClosesTheWizard) {
  size_t sentBeforeBox = 99;
  static size_t* observed;
  observed = &sentBeforeBox;
  SetErrorPresenter([](int code) {
    EXPECT_EQ(code, 1);
    *observed = sim::machine().windows.sent.size();
  });
  AddUsbPrinter(UsbPath(L"vid_d23c&pid_0001", L"1"), 1, "MFG:Quillex;MDL:QX-630K;");
  ModelListRows page = DetectPrinterModel(info, kWizard, detected);
  EXPECT_TRUE(page.configurationMissing);
  EXPECT_TRUE(page.rows.empty());
  EXPECT_EQ(detected, L"QX-630K");
  EXPECT_EQ(sentBeforeBox, 0u);
  ASSERT_EQ(M().windows.sent.size(), 1u);
  EXPECT_EQ(M().windows.sent[0].window, kWizard);
  EXPECT_EQ(M().windows.sent[0].message, plat::kWmClose);
  EXPECT_EQ(UsbPortFilter, L"vid_d23c&pid_0001");
}

TEST_F(DetectPrinterModelTest, NothingDetectedLeavesTheModelEmpty) {
  WriteConfiguration({"QX-300"});
  DetectPrinterModel(info, kWizard, detected);
  EXPECT_EQ(detected, L"");
}

// A name that would become a path, or no file at all, gets no row; a name
// of 300 characters reaches the page cut to 127 and keeps its row.
TEST_F(DetectPrinterModelTest, NamesThatCannotNameTheirDataFileGetNoRow) {
  const std::string longName(300, 'Q');
  WriteConfiguration({"..\\..\\evil", "QX/1", "C:QX", "..", ".", "QX..1", "NUL", "QX-630K", longName, "QX\tX"});
  ModelListRows page = DetectWithUsbModel("QX-630K");
  EXPECT_EQ(page.rows, (Rows{L"Quillex QX-630K", L"Quillex " + std::wstring(127, L'Q')}));
  EXPECT_EQ(page.selected, 0);
}

// "Counts" 100000: the 512 keys that fit the table are read, no more.
TEST_F(DetectPrinterModelTest, AHugeCountReadsOnlyTheTable) {
  M().fs.AddFile(L"C:\\Setup\\PrinterInfo.ini",
                 "[82\xC1\xD0\xC6\xB1\xBE\xDD\xB4\xF2\xD3\xA1\xBB\xFA]\r\nCounts=100000\r\n0=QX-630K\r\n511=QX-730K\r\n"
                 "512=QX-999\r\n");
  ModelListRows page = DetectWithUsbModel("QX-730K");
  EXPECT_EQ(page.rows, (Rows{L"Quillex QX-630K", L"Quillex QX-730K"}));
  EXPECT_EQ(page.selected, 1);
  EXPECT_EQ(M().transcript.Count("GetPrivateProfileStringW"), 2u + 512u);  // VID, PID and the table
}

TEST_F(DetectPrinterModelTest, AnEmptyUsbIdSectionKeepsTheFilter) {
  WriteConfiguration({"QX-630K"}, "[VID_PID]\r\n");
  DetectPrinterModel(info, kWizard, detected);
  EXPECT_EQ(UsbPortFilter, L"vid_d23c&pid_0001");
  WriteConfiguration({"QX-630K"}, "[VID_PID]\r\nVID=\r\nPID=\r\n");
  DetectPrinterModel(info, kWizard, detected);
  EXPECT_EQ(UsbPortFilter, L"vid_d23c&pid_0001");
}

TEST(CanNameDataFileTest, OnePlainFileNameOfAtMost251Units) {
  for (const wchar_t* name : {L"QX-630K", L"QX 630K (A)", L"型号.1", L"CONSOLE", L"LPT10", L"COM0", L"...X"})
    EXPECT_EQ(CanNameDataFile(name), std::wstring(name) != L"...X") << name;
  for (wchar_t c : std::wstring(L"\\/:*?\"<>|\x01\x1F"))
    EXPECT_FALSE(CanNameDataFile(L"QX" + std::wstring(1, c) + L"1")) << static_cast<int>(c);
  for (const wchar_t* name : {L"", L".", L"..", L"a..", L"con", L"Nul.x", L"PRN ", L"aux", L"com1", L"LPT9.GPD"})
    EXPECT_FALSE(CanNameDataFile(name)) << name;
  EXPECT_TRUE(CanNameDataFile(std::wstring(251, L'Q')));  // + ".GPD" fills the 255 units of a component
  EXPECT_FALSE(CanNameDataFile(std::wstring(252, L'Q')));
}

}  // namespace
