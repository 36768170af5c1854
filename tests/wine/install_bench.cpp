// Installation benchmark (`make bench`): the wizard driven through every page
// to its install twice in a row, in a prefix of its own, timing each step.
// Finish to WM_INSTALL_DONE (the success box is shown by its handler) on the
// first installation, with no file in use, is the platform's calls alone; on
// the second, the monitor is replaced, and the fixed pauses of that are its
// floor. The other steps show where an end-to-end run's time goes.
// Prints figures; no verdict.
#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench_timing.h"
#include "engine/driver_registration.h"
#include "res/resource.h"
#include "setup_process.h"

namespace {

const wchar_t kModelRow[] = L"Quillex QX-630K";
const wchar_t* const kPrinters[] = {L"Quillex QX-630K", L"Quillex QX-630K (副本 1)"};

void DeletePrinterNamed(const wchar_t* name) {
  HANDLE printer = nullptr;
  PRINTER_DEFAULTSW all{nullptr, nullptr, PRINTER_ALL_ACCESS};
  if (!OpenPrinterW(const_cast<LPWSTR>(name), &printer, &all)) return;
  DeletePrinter(printer);
  ClosePrinter(printer);
}

struct Step {
  const char* name;
  double ms;
};

// One installation through the wizard's pages; the steps' times, or none
// when a window did not come.
std::vector<Step> InstallThroughTheWizard() {
  std::vector<Step> steps;
  double start = bench::Now();
  auto step = [&](const char* name) {
    const double now = bench::Now();
    steps.push_back({name, now - start});
    start = now;
  };
  wine::SetupProcess setup(wine::DistFolder().wstring());
  HWND readme = setup.WaitForWindow(wine::DialogWithChild(IDC_EXPLAIN_CLOSE), 60000);
  if (!readme) return {};
  step("start -> readme");
  wine::Click(readme, IDC_EXPLAIN_CLOSE);
  HWND wizard = setup.WaitForWindow(wine::DialogWithChild(IDC_MODEL_LIST), 60000);
  if (!wizard || !wine::WaitUntil([&] { return wine::ChildVisible(wizard, IDC_MODEL_LIST); }, 60000)) return {};
  step("readme closed -> model page");
  if (!wine::SelectRow(wizard, IDC_MODEL_LIST, kModelRow)) return {};
  wine::Click(wizard, IDC_NEXT);
  HWND hint = setup.WaitForWindow(wine::MessageBoxCaptioned(L"安装提示"), 60000);
  if (!hint) return {};
  step("Next -> the port page's no-USB box");
  PostMessageW(hint, WM_COMMAND, IDOK, 0);
  if (!wine::WaitUntil([&] { return !IsWindow(hint) && wine::ChildVisible(wizard, IDC_PORT_LIST); }, 60000)) return {};
  step("box closed -> port page");
  if (!wine::SelectRow(wizard, IDC_PORT_LIST, L"LPT1:")) return {};
  wine::Click(wizard, IDC_NEXT);
  if (!wine::WaitUntil([&] { return wine::ChildVisible(wizard, IDC_FINISH); }, 60000)) return {};
  step("Next -> confirmation page");
  wine::Click(wizard, IDC_FINISH);
  HWND success = setup.WaitForWindow(wine::MessageBoxCaptioned(L"Tovanta"), 300000);
  if (!success) return {};
  step("Finish -> WM_INSTALL_DONE (the success box)");
  PostMessageW(success, WM_COMMAND, IDOK, 0);
  if (!setup.WaitForExit(60000)) return {};
  step("success box closed -> process ended");
  return steps;
}

void Print(const char* title, const std::vector<Step>& steps) {
  std::printf("%s\n", title);
  if (steps.empty()) {
    std::printf("  (a window did not come: no figures)\n");
    return;
  }
  double total = 0;
  for (const Step& s : steps) {
    std::printf("  %-46s %9.1f ms\n", s.name, s.ms);
    total += s.ms;
  }
  std::printf("  %-46s %9.1f ms\n", "the whole run", total);
}

double FinishToDone(const std::vector<Step>& steps) { return steps.size() > 5 ? steps[5].ms : -1.0; }

}  // namespace

int main() {
  for (const wchar_t* printer : kPrinters) DeletePrinterNamed(printer);
  const std::vector<Step> first = InstallThroughTheWizard();
  const std::vector<Step> again = InstallThroughTheWizard();
  for (const wchar_t* printer : kPrinters) DeletePrinterNamed(printer);

  Print("installation through the wizard, the first in this prefix (polled every 50 ms):", first);
  Print("installation through the wizard again (the monitor is replaced):", again);
  const double floor = kMonitorReplacementPausesMs;
  std::printf("  Finish -> WM_INSTALL_DONE, first installation:  %9.1f ms  (goal: the platform's calls alone, no pause)\n",
              FinishToDone(first));
  std::printf("  Finish -> WM_INSTALL_DONE, again:               %9.1f ms  %.2f x its floor of %.0f ms of fixed pauses\n",
              FinishToDone(again), FinishToDone(again) / floor, floor);
  std::printf("  the window system hiding a shown window (bare, this process): %.1f ms; each run hides four\n",
              bench::HideOfShownWindow(3));
  std::printf("  (the readme, the no-USB box, the success box, the wizard)\n");
  return 0;
}
