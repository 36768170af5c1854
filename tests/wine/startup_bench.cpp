// Start-up benchmark (`make bench`): how long QuillexSetup.exe takes from
// process start to its readme, and from closing the readme to the model
// page, beside the time a bare dialog program of the same toolchain takes to
// show its window. Prints medians over several runs and the ratio; no verdict.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "res/resource.h"
#include "setup_process.h"

namespace {

constexpr int kRuns = 7;

double Now() {
  LARGE_INTEGER counter, frequency;
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Milliseconds from process start until a window of it that `match` accepts is visible.
double TimeToWindow(const wine::SetupProcess& process, double start, const std::function<bool(HWND)>& match) {
  return process.WaitForWindow(match, 60000) ? Now() - start : -1.0;
}

std::wstring ExeFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return std::filesystem::path(path).parent_path().wstring();
}

}  // namespace

int main() {
  std::vector<double> bare, readme, modelPage;
  for (int run = 0; run < kRuns; ++run) {
    double start = Now();
    {
      wine::SetupProcess process(ExeFolder(), L"bare_dialog.exe");
      bare.push_back(TimeToWindow(process, start, [](HWND w) { return wine::WindowText(w) == L"bare dialog"; }));
    }
    start = Now();
    wine::SetupProcess setup(wine::DistFolder().wstring(), L"QuillexSetup.exe");
    readme.push_back(TimeToWindow(setup, start, wine::DialogWithChild(IDC_EXPLAIN_CLOSE)));
    HWND readmeWindow = setup.FindWindowOf(wine::DialogWithChild(IDC_EXPLAIN_CLOSE));
    start = Now();
    wine::Click(readmeWindow, IDC_EXPLAIN_CLOSE);
    HWND wizard = setup.WaitForWindow(wine::DialogWithChild(IDC_MODEL_LIST), 60000);
    wine::WaitUntil([&] { return wine::ChildVisible(wizard, IDC_MODEL_LIST); }, 60000);
    modelPage.push_back(Now() - start);
  }
  const double ratio = Median(readme) / Median(bare);
  std::printf("start-up over %d runs (medians):\n", kRuns);
  std::printf("  bare dialog, start to window:    %8.1f ms\n", Median(bare));
  std::printf("  QuillexSetup, start to readme:   %8.1f ms\n", Median(readme));
  std::printf("  QuillexSetup, readme to model:   %8.1f ms\n", Median(modelPage));
  std::printf("  readme / bare dialog:            %8.2f (goal: at most 1.10)\n", ratio);
  return 0;
}
