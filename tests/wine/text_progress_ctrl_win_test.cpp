// The text progress bar really drawn: the bar's edge, the two-coloured text
// split at that edge, the colour messages and an empty range.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "ui/text_progress_ctrl.h"
#include "ui_capture.h"

namespace {

constexpr COLORREF kBar = RGB(0, 0, 255), kBarText = RGB(0, 255, 0);
constexpr COLORREF kBack = RGB(255, 0, 255), kText = RGB(255, 0, 0);

class TextProgressWin : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX init{sizeof init, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&init);
    bar = ground.Child(PROGRESS_CLASSW, WS_BORDER, 1013, 50, 80, 400, 25);
    control.Attach(bar);
    SendMessageW(bar, PBM_SETBARCOLOR, 0, kBar);
    SendMessageW(bar, PBM_SETBKCOLOR, 0, kBack);
    SendMessageW(bar, TPBM_SETTEXTCOLOR, 0, kText);
    SendMessageW(bar, TPBM_SETBARTEXTCOLOR, 0, kBarText);
  }
  // The client's inner rectangle: the bottom 5 pixels left out, then the
  // flat sunken frame (outer and inner border, a pixel each).
  RECT Inner() const {
    RECT r{};
    GetClientRect(bar, &r);
    return {r.left + 2, r.top + 2, r.right - 2, r.bottom - 5 - 2};
  }

  ui_test::Ground ground{RGB(230, 230, 230)};
  HWND bar = nullptr;
  CTextProgressCtrl control;
};

TEST_F(TextProgressWin, BarEndsAtTheFractionOfTheInnerWidth) {
  SendMessageW(bar, PBM_SETPOS, 45, 0);
  ground.Settle();
  ui_test::Capture pixels(bar);
  RECT inner = Inner();
  int edge = inner.left + static_cast<int>(0.45 * (inner.right - inner.left));
  EXPECT_EQ(pixels.At(edge - 1, inner.top + 1), kBar);
  EXPECT_EQ(pixels.At(edge, inner.top + 1), kBack);
  EXPECT_EQ(pixels.At(inner.left, inner.top + 1), kBar);
  EXPECT_EQ(pixels.At(inner.right - 1, inner.top + 1), kBack);
}

TEST_F(TextProgressWin, TextChangesColourExactlyAtTheBarsEdge) {
  SendMessageW(bar, PBM_SETPOS, 50, 0);  // "50%" is centred, so the edge cuts it
  ground.Settle();
  ui_test::Capture pixels(bar);
  ui_test::Capture(ground.window).SaveIfAsked("progress");
  RECT inner = Inner();
  int edge = inner.left + (inner.right - inner.left) / 2;
  bool barTextSeen = false, textSeen = false;
  for (int y = inner.top; y < inner.bottom; ++y) {
    for (int x = inner.left; x < inner.right; ++x) {
      COLORREF c = pixels.At(x, y);
      if (x < edge) {
        EXPECT_EQ(GetRValue(c), 0) << x << "," << y;  // blue bar, green text, and their blends
        barTextSeen |= GetGValue(c) > 0;
      } else {
        EXPECT_EQ(GetGValue(c), 0) << x << "," << y;  // magenta ground, red text
        textSeen |= c != kBack;
      }
    }
  }
  EXPECT_TRUE(barTextSeen);
  EXPECT_TRUE(textSeen);
}

// Nothing is filled before the paint draws: the frame and the regions cover
// every pixel above the undrawn bottom, whatever the state, and a paint does
// not depend on what the kept surface held from the one before. A fresh bar
// (a new surface, black) painted in the same state shows the same pixels.
TEST_F(TextProgressWin, EveryPixelIsPaintedWhateverTheSurfaceHeldAndAMoveLeavesAWholePaintsPicture) {
  struct State {
    const char* name;
    int minimum, maximum, position;
    bool marquee;
  } states[] = {{"full", 0, 100, 100, false}, {"45", 0, 100, 45, false},      {"empty", 0, 100, 0, false},
                {"past the end", 0, 50, 100, false}, {"before the start", 60, 100, 10, false},
                {"marquee", 0, 100, 50, true}};
  for (const State& state : states) {
    SCOPED_TRACE(state.name);
    HWND freshBar = ground.Child(PROGRESS_CLASSW, WS_BORDER, 1015, 50, 130, 400, 25);
    CTextProgressCtrl fresh;
    fresh.Attach(freshBar);
    for (HWND target : {bar, freshBar}) {
      SendMessageW(target, PBM_SETBARCOLOR, 0, kBar);
      SendMessageW(target, PBM_SETBKCOLOR, 0, kBack);
      SendMessageW(target, TPBM_SETTEXTCOLOR, 0, kText);
      SendMessageW(target, TPBM_SETBARTEXTCOLOR, 0, kBarText);
      SendMessageW(target, PBM_SETMARQUEE, state.marquee, 1000);
      SendMessageW(target, PBM_SETRANGE32, 0, 100);
      SendMessageW(target, PBM_SETPOS, state.position, 0);  // the range after: the fraction may leave 0 to 1
      SendMessageW(target, PBM_SETRANGE32, state.minimum, state.maximum);
      SendMessageW(target, TPBM_SHOWPERCENT, 1, 0);
    }
    ground.Settle();
    ui_test::Capture kept(bar), first(freshBar);
    RECT client{};
    GetClientRect(bar, &client);
    int differing = 0, black = 0;
    for (int y = 0; y < client.bottom - 5; ++y) {
      for (int x = 0; x < client.right; ++x) {
        differing += kept.At(x, y) != first.At(x, y);
        black += first.At(x, y) == RGB(0, 0, 0);
      }
    }
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(black, 0);
    SendMessageW(bar, PBM_SETMARQUEE, FALSE, 0);
    DestroyWindow(freshBar);
  }

  // Without a text a move repaints only the strip it changes: after steps up,
  // a fall back and the marquee's block sliding, the window shows what a
  // fresh bar painted whole in the same state shows.
  struct Run {
    const char* name;
    bool marquee;
    int last;
  } runs[] = {{"normal", false, 20}, {"marquee", true, 70}};
  for (const Run& run : runs) {
    SCOPED_TRACE(run.name);
    HWND freshBar = ground.Child(PROGRESS_CLASSW, WS_BORDER, 1015, 50, 130, 400, 25);
    CTextProgressCtrl fresh;
    fresh.Attach(freshBar);
    for (HWND target : {bar, freshBar}) {
      SendMessageW(target, PBM_SETBARCOLOR, 0, kBar);
      SendMessageW(target, PBM_SETBKCOLOR, 0, kBack);
      SendMessageW(target, PBM_SETMARQUEE, run.marquee, 100000);  // the percentage off, no timer tick here
    }
    ground.Settle();
    for (int position = 0; position <= 100; position += 3) SendMessageW(bar, PBM_SETPOS, position, 0);
    SendMessageW(bar, PBM_SETPOS, run.last, 0);
    SendMessageW(freshBar, PBM_SETPOS, run.last, 0);
    ui_test::Capture moved(bar), whole(freshBar);
    EXPECT_TRUE(moved == whole);
    SendMessageW(bar, PBM_SETMARQUEE, FALSE, 0);
    DestroyWindow(freshBar);
  }
}

TEST_F(TextProgressWin, ColourMessagesAnswerStoredAndResolvedValues) {
  HWND fresh = ground.Child(PROGRESS_CLASSW, 0, 1014, 0, 0, 100, 20);
  CTextProgressCtrl plain;
  plain.Attach(fresh);
  EXPECT_EQ(static_cast<COLORREF>(SendMessageW(fresh, PBM_GETBARCOLOR, 0, 0)), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(static_cast<COLORREF>(SendMessageW(fresh, PBM_SETBARCOLOR, 0, RGB(1, 2, 3))), CLR_DEFAULT);
  EXPECT_EQ(static_cast<COLORREF>(SendMessageW(fresh, PBM_GETBARCOLOR, 0, 0)), RGB(1, 2, 3));
  EXPECT_EQ(SendMessageW(fresh, TPBM_SHOWPERCENT, 0, 0), 1);
  PBRANGE range{};
  EXPECT_EQ(SendMessageW(fresh, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range)), 0);
  EXPECT_EQ(range.iHigh, 100);
}

TEST_F(TextProgressWin, AnEmptyRangeDrawsNothingAndLeavesNoPaintPending) {
  SendMessageW(bar, PBM_SETRANGE32, 5, 5);
  InvalidateRect(bar, nullptr, TRUE);
  UpdateWindow(bar);
  RECT pending{};
  EXPECT_FALSE(GetUpdateRect(bar, &pending, FALSE));
}

TEST_F(TextProgressWin, MarqueeMovesTheBlockOnItsTimerAndStopsWhenSwitchedOff) {
  SendMessageW(bar, PBM_SETMARQUEE, TRUE, 10);
  EXPECT_TRUE(GetWindowLongPtrW(bar, GWL_STYLE) & PBS_MARQUEE);
  int before = static_cast<int>(SendMessageW(bar, PBM_GETPOS, 0, 0));
  for (int i = 0; i < 20; ++i, Sleep(10)) ui_test::Ground::Pump();
  EXPECT_NE(SendMessageW(bar, PBM_GETPOS, 0, 0), before);
  SendMessageW(bar, PBM_SETMARQUEE, FALSE, 0);
  EXPECT_FALSE(GetWindowLongPtrW(bar, GWL_STYLE) & PBS_MARQUEE);
  EXPECT_EQ(control.Model().showPercent, 0);
}

}  // namespace
