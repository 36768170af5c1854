// Benchmark: the cost of one WM_PAINT of the install page's 400 x 25 text
// progress bar (scaled to the screen's DPI; the whole bar invalidated), and of one tick of the install
// page (a position one further, which repaints only what it changes),
// averaged over 1000, as shares of the wizard's 30 ms animation tick. Each
// beside the floor the window system itself sets (a paint that only begins
// and ends painting); asserts nothing.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>

#include "ui/dpi_scale.h"
#include "ui/gdi.h"
#include "ui/text_progress_ctrl.h"
#include "ui_capture.h"

namespace {

constexpr int kPaints = 1000;
constexpr double kTickMs = 30.0;
constexpr double kGoalOverFloor = 1.25;  // the install page's paint against the window system's floor

// A control whose paint draws nothing: the cost of painting as such.
class EmptyPaint : public CControl {
 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message != WM_PAINT) return Default(message, wParam, lParam);
    ui::PaintDC paint(m_hWnd);
    return 0;
  }
};

// Milliseconds per WM_PAINT of `bar`, with the position moved before each.
double MeasurePaint(HWND bar) {
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  long long ticks = 0;
  for (int i = 0; i < kPaints; ++i) {
    SendMessageW(bar, PBM_SETPOS, i % 101, 0);
    InvalidateRect(bar, nullptr, FALSE);
    QueryPerformanceCounter(&start);
    SendMessageW(bar, WM_PAINT, 0, 0);
    QueryPerformanceCounter(&end);
    ticks += end.QuadPart - start.QuadPart;
  }
  return 1000.0 * ticks / frequency.QuadPart / kPaints;
}

// Milliseconds per install-page tick: PBM_SETPOS one further (wrapping from
// 100 to 0) with the repaint it makes, as the wizard's timer does.
double MeasureTick(HWND bar) {
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  for (int i = 0; i < kPaints; ++i) SendMessageW(bar, PBM_SETPOS, i % 101, 0);
  QueryPerformanceCounter(&end);
  return 1000.0 * (end.QuadPart - start.QuadPart) / frequency.QuadPart / kPaints;
}

// The same for a control whose paint draws nothing: an immediate repaint alone.
double MeasureRedraw(HWND window) {
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  for (int i = 0; i < kPaints; ++i) RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  QueryPerformanceCounter(&end);
  return 1000.0 * (end.QuadPart - start.QuadPart) / frequency.QuadPart / kPaints;
}

}  // namespace

int main() {
  SetProcessDPIAware();  // the screen's own pixels, as the installer draws them
  INITCOMMONCONTROLSEX init{sizeof init, ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&init);
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  const UiRect barRect = ScaleToDpi(UiRect{50, 80, 400, 25}, dpi);
  const UiRect floorRect = ScaleToDpi(UiRect{50, 120, 400, 25}, dpi);
  ui_test::Ground ground(RGB(230, 230, 230), ScaleToDpi(500, dpi), ScaleToDpi(200, dpi));
  HWND bar = ground.Child(PROGRESS_CLASSW, WS_BORDER, 1013, barRect.x, barRect.y, barRect.width, barRect.height);
  CTextProgressCtrl control;
  control.Attach(bar);
  control.SetDpi(dpi);
  SendMessageW(bar, PBM_SETBARCOLOR, 0, 0x00A14E00);
  HWND floor =
      ground.Child(PROGRESS_CLASSW, WS_BORDER, 1014, floorRect.x, floorRect.y, floorRect.width, floorRect.height);
  EmptyPaint empty;
  empty.Attach(floor);
  ground.Settle();

  double withText = MeasurePaint(bar);
  SendMessageW(bar, TPBM_SHOWPERCENT, 0, 0);  // the install page: no text at all
  double plain = MeasurePaint(bar);
  double floorMs = MeasurePaint(floor);
  double tick = MeasureTick(bar);
  double redrawFloor = MeasureRedraw(floor);
  std::printf("at %d DPI, the bar %d x %d:\n", dpi, barRect.width, barRect.height);
  auto report = [](const char* what, double ms) {
    std::printf("%-58s %.4f ms per WM_PAINT (average of %d), %.2f %% of the %.0f ms tick\n", what, ms, kPaints,
                100.0 * ms / kTickMs, kTickMs);
  };
  report("progress bar, as on the install page (no text):", plain);
  report("progress bar, with the percentage text:", withText);
  report("the window system's floor (BeginPaint/EndPaint alone):", floorMs);
  std::printf("install page's paint / floor: %.2f x (goal: at most %.2f x); with the text: %.2f x\n", plain / floorMs,
              kGoalOverFloor, withText / floorMs);
  report("install page's tick (PBM_SETPOS one further and its repaint):", tick);
  report("the window system's floor (an immediate repaint drawing nothing):", redrawFloor);
  std::printf("install page's tick / floor: %.2f x (goal: at most %.2f x)\n", tick / redrawFloor, kGoalOverFloor);
  return 0;
}
