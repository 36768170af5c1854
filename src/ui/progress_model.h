// The state and arithmetic of the text progress bar (CTextProgressCtrl),
// free of any window: range, position, step, marquee limits, the fraction,
// the painted regions and where the text goes. The control applies it.
#pragma once
#include <cstdint>
#include <string>

#include "ui/dpi_scale.h"

constexpr uint32_t kClrDefault = 0xFF000000;  // CLR_DEFAULT: use the system colour

struct ProgressRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
};

// The bar B, the region before it C and after it A (marquee: C lies before
// the block, A after it; normal style: no C). Each is drawn only when its flag says so.
struct ProgressRegions {
  ProgressRect bar, before, after;
  bool drawBefore = true, drawAfter = true;
};

// The pixels a move of the bar from `oldBar` to `newBar` changes inside
// `inner`, when nothing else changed and no text is drawn: the bounding box
// of the two bars' difference (empty when they are equal). All of `inner`
// when either bar reaches outside it.
ProgressRect ChangedByBarMove(const ProgressRect& oldBar, const ProgressRect& newBar, const ProgressRect& inner);

struct ProgressPoint {
  int x = 0, y = 0;
};

class ProgressModel {
 public:
  int showPercent = 1;
  uint32_t barColour = kClrDefault;
  uint32_t bkColour = kClrDefault;
  uint32_t textColour = kClrDefault;
  uint32_t barTextColour = kClrDefault;
  int textAlign = 1;  // 0 start, 1 centre, 2 end
  int position = 0;
  int step = 10;
  int minimum = 0;
  int maximum = 100;
  int marqueeWidth = 20;  // percent of the bar's length
  int dpi = kBaseDpi;     // the text's insets and the undrawn strip scale with it

  // PBM_SETRANGE: minimum and maximum in the unsigned halves of `packed`.
  // Each setter returns what its message answers.
  uint32_t SetRange16(uint32_t packed);
  uint32_t SetRange32(int newMinimum, int newMaximum);
  int SetPos(int newPosition, bool marquee);
  int DeltaPos(int increment, bool marquee);
  int SetStep(int newStep);
  int StepIt(bool marquee);
  // PBM_GETRANGE: the minimum when `wantMinimum`, else the maximum.
  int GetRange(bool wantMinimum) const { return wantMinimum ? minimum : maximum; }

  // The highest position: the maximum, or in marquee style far enough past it
  // for the block to slide out completely.
  int UpperLimit(bool marquee) const;
  bool HasRange() const { return minimum < maximum; }
  double Fraction() const;
  // The text drawn: the rounded percentage ("45%") or the window's own text.
  std::wstring Text(const std::wstring& windowText) const;

  ProgressRegions LayOutRegions(const ProgressRect& inner, bool vertical, bool marquee) const;
  // Where a text of extent (cx, cy) starts inside `inner`.
  ProgressPoint TextOrigin(const ProgressRect& inner, int cx, int cy, bool vertical) const;
  // The strip at the control's bottom that is never drawn.
  int UndrawnBottom() const;

  // One marquee tick from position `current`: turns the direction shared by
  // every bar of the process at either end and returns the next position.
  int NextMarqueePosition(int current) const;
  static int MarqueeDirection();
  static void ResetMarqueeDirection();

 private:
  uint32_t PackedRange() const;
};
