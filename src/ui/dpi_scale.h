// The windows are laid out in pixels at 96 DPI and shown at their own DPI:
// every rectangle, point, pen width and font height is scaled once by
// dpi / 96, rounded as MulDiv rounds (half away from zero). At 96 DPI every
// value stays as it is.
#pragma once

constexpr int kBaseDpi = 96;

struct UiSize {
  int width = 0, height = 0;
  bool operator==(const UiSize&) const = default;
};

struct UiPoint {
  int x = 0, y = 0;
  bool operator==(const UiPoint&) const = default;
};

struct UiRect {
  int x = 0, y = 0, width = 0, height = 0;
  int Right() const { return x + width; }
  int Bottom() const { return y + height; }
  UiSize Size() const { return {width, height}; }
  bool operator==(const UiRect&) const = default;
};

// value x numerator / denominator, rounded half away from zero: the one
// rounding rule of every scaled value. -1 for a zero denominator, as MulDiv.
int MulDivRounded(int value, int numerator, int denominator);

int ScaleToDpi(int value, int dpi);
UiSize ScaleToDpi(UiSize size, int dpi);
UiPoint ScaleToDpi(UiPoint point, int dpi);
// Position and size are scaled each on their own, so that a control is as
// large as its picture drawn at that scale.
UiRect ScaleToDpi(const UiRect& rect, int dpi);

// A value made for `fromDpi` (a font height, say) remade for `toDpi`.
int RescaleBetweenDpis(int value, int fromDpi, int toDpi);

// The LOGFONT height (negative: the characters' height) of a font of
// `tenthsOfPoint` / 10 points at `dpi`.
int PointFontHeight(int tenthsOfPoint, int dpi);
