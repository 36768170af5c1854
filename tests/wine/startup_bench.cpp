// Start-up benchmark (`make bench`): how long QuillexSetup.exe takes from
// process start to its readme, and from closing the readme to the model
// page, beside the time a bare dialog program of the same toolchain takes to
// show its window and the time the window system takes to hide a shown
// window (the readme's end pays it). Prints medians, goals and ratios; no verdict.
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "bench_timing.h"
#include "res/resource.h"
#include "setup_process.h"

namespace {

constexpr int kRuns = 7;
constexpr double kReadmeGoalRatio = 1.5;   // start to readme, against the bare dialog
constexpr double kModelPageGoalMs = 300.0;  // readme closed to the model page

// Milliseconds from process start until a window of it that `match` accepts is visible.
double TimeToWindow(const wine::SetupProcess& process, double start, const std::function<bool(HWND)>& match) {
  return process.WaitForWindow(match, 60000) ? bench::Now() - start : -1.0;
}

std::wstring ExeFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return std::filesystem::path(path).parent_path().wstring();
}

}  // namespace

int main() {
  SetProcessDPIAware();  // the screen's own DPI, as the installer sees it
  std::vector<double> bare, readme, modelPage;
  for (int run = 0; run < kRuns; ++run) {
    double start = bench::Now();
    {
      wine::SetupProcess process(ExeFolder(), L"bare_dialog.exe");
      bare.push_back(TimeToWindow(process, start, [](HWND w) { return wine::WindowText(w) == L"bare dialog"; }));
    }
    start = bench::Now();
    wine::SetupProcess setup(wine::DistFolder().wstring(), L"QuillexSetup.exe");
    readme.push_back(TimeToWindow(setup, start, wine::DialogWithChild(IDC_EXPLAIN_CLOSE)));
    HWND readmeWindow = setup.FindWindowOf(wine::DialogWithChild(IDC_EXPLAIN_CLOSE));
    start = bench::Now();
    wine::Click(readmeWindow, IDC_EXPLAIN_CLOSE);
    HWND wizard = setup.WaitForWindow(wine::DialogWithChild(IDC_MODEL_LIST), 60000);
    wine::WaitUntil([&] { return wine::ChildVisible(wizard, IDC_MODEL_LIST); }, 60000);
    modelPage.push_back(bench::Now() - start);
  }
  const double hide = bench::HideOfShownWindow(3);
  const double readmeRatio = bench::Median(readme) / bench::Median(bare);
  const double ours = bench::Median(modelPage) - hide;
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  std::printf("start-up over %d runs at %d DPI (medians; the window checks poll every 50 ms):\n", kRuns, dpi);
  std::printf("  bare dialog, start to window:            %8.1f ms  (the reference)\n", bench::Median(bare));
  std::printf("  QuillexSetup, start to readme:           %8.1f ms  %.2f x the bare dialog (goal: at most %.2f x)\n",
              bench::Median(readme), readmeRatio, kReadmeGoalRatio);
  std::printf("  readme closed -> model page:             %8.1f ms  %.2f x the goal of %.0f ms\n",
              bench::Median(modelPage), bench::Median(modelPage) / kModelPageGoalMs, kModelPageGoalMs);
  std::printf("    of it, the window system hiding a shown window (bare, this process): %.1f ms\n", hide);
  std::printf("    the rest, the installer's page switch:  %8.1f ms  %.2f x the goal of %.0f ms\n", ours,
              ours / kModelPageGoalMs, kModelPageGoalMs);
  return 0;
}
