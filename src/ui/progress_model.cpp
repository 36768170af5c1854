#include "ui/progress_model.h"

#include <algorithm>
#include <atomic>
#include <utility>

namespace {
std::atomic<int> s_marqueeDirection{1};
constexpr int kUndrawnBottom = 5;  // at 96 DPI: the lowest pixels of the control stay as they are
constexpr int kTextStartInset = 2;
constexpr int kTextEndInset = 3;
}  // namespace

uint32_t ProgressModel::PackedRange() const {
  return (static_cast<uint32_t>(maximum & 0xFFFF) << 16) | static_cast<uint32_t>(minimum & 0xFFFF);
}

uint32_t ProgressModel::SetRange16(uint32_t packed) {
  uint32_t old = PackedRange();
  minimum = static_cast<int>(packed & 0xFFFF);
  maximum = static_cast<int>(packed >> 16);
  return old;
}

uint32_t ProgressModel::SetRange32(int newMinimum, int newMaximum) {
  uint32_t old = PackedRange();
  minimum = newMinimum;
  maximum = newMaximum;
  return old;
}

int ProgressModel::UpperLimit(bool marquee) const {
  if (!marquee) return maximum;
  return static_cast<int>(((marqueeWidth + 100.0) * maximum + 0.5) / 100.0);
}

int ProgressModel::SetPos(int newPosition, bool marquee) {
  int old = position;
  position = std::max(newPosition, minimum);
  position = std::min(position, UpperLimit(marquee));
  return old;
}

int ProgressModel::DeltaPos(int increment, bool marquee) { return SetPos(position + increment, marquee); }

int ProgressModel::SetStep(int newStep) { return std::exchange(step, newStep); }

int ProgressModel::StepIt(bool marquee) {
  int next = position + step;
  if (next < minimum)
    next = maximum - (minimum - next);
  else if (next > maximum)
    next = minimum + (next - maximum);
  return SetPos(next, marquee);
}

double ProgressModel::Fraction() const {
  return (static_cast<double>(position) - minimum) / (static_cast<double>(maximum) - minimum);
}

std::wstring ProgressModel::Text(const std::wstring& windowText) const {
  if (!showPercent) return windowText;
  return std::to_wstring(static_cast<int>(Fraction() * 100 + 0.5)) + L"%";
}

ProgressRegions ProgressModel::LayOutRegions(const ProgressRect& inner, bool vertical, bool marquee) const {
  ProgressRegions r{inner, inner, inner};
  double f = Fraction();
  if (!vertical) {
    int edge = inner.left + static_cast<int>(inner.Width() * f);
    if (!marquee) {
      // A range changed under the position can put the edge outside the
      // frame: the bar never leaves it.
      r.bar.right = std::clamp(edge, inner.left, inner.right);
      r.after.left = r.bar.right;
      r.drawBefore = false;
      return r;
    }
    int block = (inner.Width() * marqueeWidth + 50) / 100;
    r.bar.right = edge;
    r.bar.left = edge - block;
    if (r.bar.left > inner.left) r.before.right = r.bar.left; else { r.drawBefore = false; r.bar.left = inner.left; }
    if (r.bar.right < inner.right) r.after.left = r.bar.right; else { r.drawAfter = false; r.bar.right = inner.right; }
    return r;
  }
  int edge = inner.bottom - static_cast<int>(inner.Height() * f);
  if (!marquee) {
    r.bar.top = std::clamp(edge, inner.top, inner.bottom);
    r.after.bottom = r.bar.top;
    r.drawBefore = false;
    return r;
  }
  int block = (inner.Height() * marqueeWidth + 50) / 100;
  r.bar.top = edge;
  r.bar.bottom = edge + block;
  if (r.bar.bottom < inner.bottom) r.before.top = r.bar.bottom; else { r.drawBefore = false; r.bar.bottom = inner.bottom; }
  if (r.bar.top > inner.top) r.after.bottom = r.bar.top; else { r.drawAfter = false; r.bar.top = inner.top; }
  return r;
}

int ProgressModel::UndrawnBottom() const { return ScaleToDpi(kUndrawnBottom, dpi); }

ProgressPoint ProgressModel::TextOrigin(const ProgressRect& inner, int cx, int cy, bool vertical) const {
  const int start = ScaleToDpi(kTextStartInset, dpi), end = ScaleToDpi(kTextEndInset, dpi);
  ProgressPoint p;
  if (!vertical) {
    p.x = textAlign == 0 ? inner.left + start : textAlign == 2 ? inner.right - cx - end : inner.left + (inner.Width() - cx) / 2;
    p.y = inner.top + (inner.Height() - cy) / 2;
  } else {
    p.y = textAlign == 0 ? inner.bottom - end : textAlign == 2 ? inner.top + start + cx : inner.top + cx + (inner.Height() - cx) / 2;
    p.x = inner.left + (inner.Width() - cy) / 2;
  }
  return p;
}

int ProgressModel::NextMarqueePosition(int current) const {
  if (s_marqueeDirection == 1 && current >= UpperLimit(true)) s_marqueeDirection = -1;
  if (s_marqueeDirection == -1 && current <= minimum) s_marqueeDirection = 1;
  return current + s_marqueeDirection;
}

int ProgressModel::MarqueeDirection() { return s_marqueeDirection; }

void ProgressModel::ResetMarqueeDirection() { s_marqueeDirection = 1; }

namespace {

bool Inside(const ProgressRect& r, const ProgressRect& inner) {
  return r.left >= inner.left && r.right <= inner.right && r.top >= inner.top && r.bottom <= inner.bottom &&
         r.left <= r.right && r.top <= r.bottom;
}

// The span covering where [a0, a1) and [b0, b1) differ, as begin and end.
std::pair<int, int> ChangedSpan(int a0, int a1, int b0, int b1) {
  if (a0 == b0) return {std::min(a1, b1), std::max(a1, b1)};
  if (a1 == b1) return {std::min(a0, b0), std::max(a0, b0)};
  return {std::min(a0, b0), std::max(a1, b1)};
}

}  // namespace

ProgressRect ChangedByBarMove(const ProgressRect& oldBar, const ProgressRect& newBar, const ProgressRect& inner) {
  if (!Inside(oldBar, inner) || !Inside(newBar, inner)) return inner;
  const bool sameRows = oldBar.top == newBar.top && oldBar.bottom == newBar.bottom;
  const bool sameColumns = oldBar.left == newBar.left && oldBar.right == newBar.right;
  if (sameRows && sameColumns) return {};
  if (sameRows) {
    auto [left, right] = ChangedSpan(oldBar.left, oldBar.right, newBar.left, newBar.right);
    return {left, oldBar.top, right, oldBar.bottom};
  }
  if (sameColumns) {
    auto [top, bottom] = ChangedSpan(oldBar.top, oldBar.bottom, newBar.top, newBar.bottom);
    return {oldBar.left, top, oldBar.right, bottom};
  }
  return inner;
}
