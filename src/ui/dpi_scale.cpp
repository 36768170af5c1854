#include "ui/dpi_scale.h"

#include <cstdint>

int MulDivRounded(int value, int numerator, int denominator) {
  if (denominator == 0) return -1;
  int64_t product = static_cast<int64_t>(value) * numerator;
  bool negative = (product < 0) != (denominator < 0);
  int64_t magnitude = product < 0 ? -product : product;
  int64_t divisor = denominator < 0 ? -static_cast<int64_t>(denominator) : denominator;
  int64_t rounded = (magnitude + divisor / 2) / divisor;
  return static_cast<int>(negative ? -rounded : rounded);
}

int ScaleToDpi(int value, int dpi) { return MulDivRounded(value, dpi, kBaseDpi); }

UiSize ScaleToDpi(UiSize size, int dpi) { return {ScaleToDpi(size.width, dpi), ScaleToDpi(size.height, dpi)}; }

UiPoint ScaleToDpi(UiPoint point, int dpi) { return {ScaleToDpi(point.x, dpi), ScaleToDpi(point.y, dpi)}; }

UiRect ScaleToDpi(const UiRect& rect, int dpi) {
  return {ScaleToDpi(rect.x, dpi), ScaleToDpi(rect.y, dpi), ScaleToDpi(rect.width, dpi),
          ScaleToDpi(rect.height, dpi)};
}

int RescaleBetweenDpis(int value, int fromDpi, int toDpi) { return MulDivRounded(value, toDpi, fromDpi); }

int PointFontHeight(int tenthsOfPoint, int dpi) {
  constexpr int kTenthsPerInch = 720;
  return -MulDivRounded(dpi, tenthsOfPoint, kTenthsPerInch);
}
