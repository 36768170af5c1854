// What the Wine benchmarks share: a millisecond clock, medians, and the
// window system's own cost of hiding a shown top-level window.
#pragma once
#include <windows.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace bench {

inline double Now() {
  LARGE_INTEGER counter, frequency;
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

inline double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

inline double TimeOnce(const std::function<void()>& call) {
  const double start = Now();
  call();
  return Now() - start;
}

// Milliseconds of ShowWindow(SW_HIDE) on a shown top-level window with a
// caption, as the end of a modal dialog hides it; median of `runs`. The
// window is made, shown and destroyed outside the measured call.
inline double HideOfShownWindow(int runs) {
  std::vector<double> hides;
  for (int i = 0; i < runs; ++i) {
    HWND window = CreateWindowExW(0, L"STATIC", L"hidden", WS_POPUP | WS_CAPTION | WS_SYSMENU, 100, 100, 300, 200,
                                  nullptr, nullptr, nullptr, nullptr);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    hides.push_back(TimeOnce([&] { ShowWindow(window, SW_HIDE); }));
    DestroyWindow(window);
  }
  return Median(hides);
}

}  // namespace bench
