// A whole queue installation against Wine's real spooler, with the sample
// package beside the test program.
#include <gtest/gtest.h>
#include <windows.h>
#include <winspool.h>

#include <string>
#include <vector>

#include "catalog/platform_probe.h"
#include "engine/driver_registration.h"
#include "engine/printer_queue.h"
#include "report/error_report.h"
#include "wine_support.h"

namespace {

std::vector<std::wstring> g_boxes;
void RecordBox(int code) { g_boxes.push_back(std::to_wstring(code)); }

class PrinterQueueWinTest : public ::testing::Test {
 protected:
  const std::wstring kBase = L"Quillex QX-630K";

  void SetUp() override {
    g_boxes.clear();
    SetErrorPresenter(&RecordBox);
    // Start from a machine without our printers and monitor, whatever earlier runs left.
    for (int n = 3; n >= 1; --n) wine::DeletePrinterNamed(kBase + L" (副本 " + std::to_wstring(n) + L")");
    wine::DeletePrinterNamed(kBase);
    DeleteMonitorW(nullptr, nullptr, const_cast<LPWSTR>(kLanguageMonitorName));
  }
  void TearDown() override { SetErrorPresenter(nullptr); }

  const PRINTER_INFO_2W* FindPrinter(const std::vector<PRINTER_INFO_2W>& printers, const std::wstring& name) {
    for (const PRINTER_INFO_2W& p : printers)
      if (name == p.pPrinterName) return &p;
    return nullptr;
  }
};

TEST_F(PrinterQueueWinTest, InstallsQueueDriverAndMonitorThenACopy) {
  if (RunsUnderWow64())
    GTEST_SKIP() << "a 32-bit process on 64-bit Windows would set up x86 objects on the x64 spooler; "
                    "the 64-bit install program installs there (InstallWorkerWinTest, the wizard's suite)";
  ASSERT_TRUE(CreatePrinterQueue(L"QX-630K", L"LPT1:", L"QX-630K.GPD", Pin24));
  EXPECT_TRUE(g_boxes.empty());
  EXPECT_TRUE(wine::MonitorInstalled(kLanguageMonitorName));

  std::vector<BYTE> storage;
  auto printers = wine::EnumLocalPrinters(storage);
  const PRINTER_INFO_2W* p = FindPrinter(printers, kBase);
  ASSERT_NE(p, nullptr);
  EXPECT_STREQ(p->pDriverName, kBase.c_str());
  EXPECT_STREQ(p->pPortName, L"LPT1:");
  EXPECT_EQ(p->Attributes & PRINTER_ATTRIBUTE_ENABLE_BIDI, 0u);
  ASSERT_NE(p->pDevMode, nullptr);  // validated by the package's printer interface DLL
  EXPECT_TRUE(p->pDevMode->dmFields & DM_ORIENTATION);

  // A second installation: the name is taken and the monitor is replaced.
  ASSERT_TRUE(CreatePrinterQueue(L"QX-630K", L"LPT1:", L"QX-630K.GPD", Pin24));
  EXPECT_TRUE(g_boxes.empty());
  EXPECT_TRUE(wine::MonitorInstalled(kLanguageMonitorName));
  printers = wine::EnumLocalPrinters(storage);
  const PRINTER_INFO_2W* copy = FindPrinter(printers, kBase + L" (副本 1)");
  ASSERT_NE(copy, nullptr);
  EXPECT_STREQ(copy->pDriverName, (kBase + L" (副本 1)").c_str());
}

}  // namespace
