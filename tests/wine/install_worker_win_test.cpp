// One installation job run to its end on its own thread against Wine's real
// spooler, reporting to a hidden window of the test thread.
#include <gtest/gtest.h>
#include <windows.h>
#include <winspool.h>

#include <vector>

#include "catalog/printer_info_file.h"
#include "engine/install_job.h"
#include "report/error_report.h"
#include "wine_support.h"

namespace {

std::vector<LPARAM> g_results;
std::vector<std::wstring> g_boxes;
void RecordBox(int code) { g_boxes.push_back(std::to_wstring(code)); }

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INSTALL_DONE) {
    EXPECT_EQ(wParam, 0u);
    g_results.push_back(lParam);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateOwnerWindow() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = OwnerProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"QxInstallOwner";
  RegisterClassW(&wc);
  return CreateWindowExW(0, wc.lpszClassName, L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance,
                         nullptr);
}

// Pumps the thread's messages (the worker's SendMessage is delivered while
// this thread waits for messages) until `until` has passed since the start.
void PumpFor(DWORD until, bool stopAtFirstResult) {
  DWORD start = GetTickCount();
  while (GetTickCount() - start < until && !(stopAtFirstResult && !g_results.empty())) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }
}

// On 64-bit Windows the job runs in QuillexInstall64.exe beside the test
// program, which reads the models from PrinterInfo.ini there.
TEST(InstallWorkerWinTest, JobRunsToTheEndAndReportsOnce) {
  wine::DeletePrinterNamed(L"Quillex QX-730K");
  const std::wstring configuration = CPrinterInfoFile().Path();
  wine::WriteAll(configuration, "[82\xC1\xD0\xC6\xB1\xBE\xDD\xB4\xF2\xD3\xA1\xBB\xFA]\r\nCounts=1\r\n0=QX-730K\r\n");
  SetErrorPresenter(&RecordBox);
  HWND owner = CreateOwnerWindow();
  ASSERT_NE(owner, nullptr);

  auto job = std::make_unique<InstallJob>();
  job->ownerWindow = owner;
  job->modelName = L"QX-730K";
  job->portName = L"LPT1:";
  job->dataFile = L"QX-730K.GPD";
  job->pinFamily = Pin24;
  job->detectedModel = L"QX-730K";  // no such device is present: the queue road follows
  ASSERT_TRUE(StartInstallWorker(std::move(job)));

  PumpFor(180000, true);
  PumpFor(2000, false);  // a second report would arrive meanwhile
  EXPECT_EQ(g_results, std::vector<LPARAM>{1});
  EXPECT_TRUE(g_boxes.empty());

  HANDLE printer = nullptr;
  EXPECT_TRUE(OpenPrinterW(const_cast<LPWSTR>(L"Quillex QX-730K"), &printer, nullptr));
  if (printer) ClosePrinter(printer);
  DestroyWindow(owner);
  SetErrorPresenter(nullptr);
  DeleteFileW(configuration.c_str());
}

}  // namespace
