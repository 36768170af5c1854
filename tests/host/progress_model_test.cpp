// The text progress bar's model: range, position, step, marquee, regions, text.
#include <gtest/gtest.h>

#include "ui/progress_model.h"

namespace {

const ProgressRect kInner{1, 1, 399, 19};  // a 400 x 25 bar inside its frame

TEST(ProgressModel, PositionsClampToTheRangeOrPastItInMarqueeStyle) {
  ProgressModel model;
  EXPECT_EQ(model.SetPos(150, false), 0);
  EXPECT_EQ(model.position, 100);
  model.SetPos(150, true);
  EXPECT_EQ(model.position, 120);  // marquee width 20 lets the block slide out
  model.SetPos(-5, false);
  EXPECT_EQ(model.position, 0);
  EXPECT_EQ(model.DeltaPos(30, false), 0);
  EXPECT_EQ(model.position, 30);
}

TEST(ProgressModel, StepWrapsAroundTheRange) {
  ProgressModel model;
  model.position = 95;
  EXPECT_EQ(model.StepIt(false), 95);
  EXPECT_EQ(model.position, 5);
  EXPECT_EQ(model.SetStep(-10), 10);
  model.StepIt(false);
  EXPECT_EQ(model.position, 95);
}

TEST(ProgressModel, RangeSettersAnswerTheOldRangePackedAndLeaveThePosition) {
  ProgressModel model;
  model.position = 50;
  EXPECT_EQ(model.SetRange16(200u << 16), 100u << 16);
  EXPECT_EQ(model.minimum, 0);
  EXPECT_EQ(model.maximum, 200);
  EXPECT_EQ(model.SetRange16(0xFFFF0010u), 200u << 16);
  EXPECT_EQ(model.minimum, 16);
  EXPECT_EQ(model.maximum, 65535);  // unsigned halves
  EXPECT_EQ(model.SetRange32(-70000, 70000), (65535u << 16) | 16u);
  EXPECT_EQ(model.SetRange32(0, 100), (70000u & 0xFFFF) << 16 | (static_cast<uint32_t>(-70000) & 0xFFFF));
  EXPECT_EQ(model.position, 50);
  EXPECT_EQ(model.GetRange(true), 0);
  EXPECT_EQ(model.GetRange(false), 100);
}

TEST(ProgressModel, PercentageRoundsAndTheWindowTextShowsWhenItIsOff) {
  ProgressModel model;
  model.SetRange32(0, 3);
  model.position = 1;
  EXPECT_EQ(model.Text(L"x"), L"33%");
  model.position = 2;
  EXPECT_EQ(model.Text(L"x"), L"67%");
  model.showPercent = 0;
  EXPECT_EQ(model.Text(L"x"), L"x");
  model.SetRange32(5, 5);
  EXPECT_FALSE(model.HasRange());
}

TEST(ProgressModel, NormalBarCoversTheFractionOfTheInnerWidth) {
  ProgressModel model;
  model.position = 45;
  ProgressRegions r = model.LayOutRegions(kInner, false, false);
  EXPECT_EQ(r.bar.right, kInner.left + static_cast<int>(0.45 * kInner.Width()));
  EXPECT_EQ(r.after.left, r.bar.right);
  EXPECT_FALSE(r.drawBefore);
  EXPECT_TRUE(r.drawAfter);
  model.SetRange32(0, 50);  // position 45 of 50 after a range change: past the end stays inside
  model.position = 80;
  EXPECT_EQ(model.LayOutRegions(kInner, false, false).bar.right, kInner.right);
  ProgressRegions v = model.LayOutRegions({0, 0, 20, 100}, true, false);
  EXPECT_EQ(v.bar.top, 0);
}

TEST(ProgressModel, MarqueeBlockAndItsNeighbours) {
  ProgressModel model;
  model.position = 50;
  ProgressRegions r = model.LayOutRegions(kInner, false, true);
  int block = (kInner.Width() * 20 + 50) / 100;
  EXPECT_EQ(r.bar.right, kInner.left + kInner.Width() / 2);
  EXPECT_EQ(r.bar.left, r.bar.right - block);
  EXPECT_EQ(r.before.right, r.bar.left);
  EXPECT_EQ(r.after.left, r.bar.right);
  model.position = 5;  // block cut at the start: no "before" region
  r = model.LayOutRegions(kInner, false, true);
  EXPECT_FALSE(r.drawBefore);
  EXPECT_EQ(r.bar.left, kInner.left);
  model.position = 110;  // past the end: no "after" region
  r = model.LayOutRegions(kInner, false, true);
  EXPECT_FALSE(r.drawAfter);
  EXPECT_EQ(r.bar.right, kInner.right);

  ProgressRect tall{0, 0, 20, 100};
  model.position = 50;
  ProgressRegions v = model.LayOutRegions(tall, true, true);
  EXPECT_EQ(v.bar.top, 50);
  EXPECT_EQ(v.bar.bottom, 70);
  EXPECT_EQ(v.before.top, 70);
  EXPECT_EQ(v.after.bottom, 50);
}

TEST(ProgressModel, TextOriginFollowsTheAlignment) {
  ProgressModel model;
  ProgressRect r{0, 0, 100, 20};
  EXPECT_EQ(model.TextOrigin(r, 31, 11, false).x, 34);
  EXPECT_EQ(model.TextOrigin(r, 31, 11, false).y, 4);
  model.textAlign = 0;
  EXPECT_EQ(model.TextOrigin(r, 31, 11, false).x, 2);
  model.textAlign = 2;
  EXPECT_EQ(model.TextOrigin(r, 31, 11, false).x, 66);
  ProgressRect tall{0, 0, 20, 100};
  EXPECT_EQ(model.TextOrigin(tall, 31, 11, true).y, 33);
  model.textAlign = 0;
  EXPECT_EQ(model.TextOrigin(tall, 31, 11, true).y, 97);
  model.textAlign = 1;
  EXPECT_EQ(model.TextOrigin(tall, 31, 11, true).y, 31 + 34);
  EXPECT_EQ(model.TextOrigin(tall, 31, 11, true).x, 4);
  EXPECT_EQ(model.UndrawnBottom(), 5);
}

// The insets and the undrawn strip scale with the DPI; the centred text
// depends on the extent only.
TEST(ProgressModel, InsetsScaleWithTheDpi) {
  ProgressModel model;
  model.dpi = 192;
  ProgressRect r{0, 0, 200, 40};
  model.textAlign = 0;
  EXPECT_EQ(model.TextOrigin(r, 62, 22, false).x, 4);
  model.textAlign = 2;
  EXPECT_EQ(model.TextOrigin(r, 62, 22, false).x, 200 - 62 - 6);
  model.textAlign = 1;
  EXPECT_EQ(model.TextOrigin(r, 62, 22, false).x, 69);
  EXPECT_EQ(model.UndrawnBottom(), 10);
  model.dpi = 144;
  EXPECT_EQ(model.UndrawnBottom(), 8);  // 7.5 rounds up
  model.dpi = 120;
  EXPECT_EQ(model.UndrawnBottom(), 6);  // 6.25 rounds down
}

TEST(ProgressModel, MarqueeBouncesBetweenTheEndsWithOneSharedDirection) {
  ProgressModel::ResetMarqueeDirection();
  ProgressModel a, b;
  EXPECT_EQ(a.NextMarqueePosition(119), 120);
  EXPECT_EQ(a.NextMarqueePosition(120), 119);
  EXPECT_EQ(ProgressModel::MarqueeDirection(), -1);
  EXPECT_EQ(b.NextMarqueePosition(50), 49);  // the other bar moves the same way
  EXPECT_EQ(b.NextMarqueePosition(0), 1);
  EXPECT_EQ(ProgressModel::MarqueeDirection(), 1);
}

// What a move of the bar changes: the strip between its old and new ends
// (either way, either direction of growth), the block's old and new extent,
// nothing for no move, and everything for a bar outside the inside.
TEST(ProgressModel, ABarMoveChangesTheStripBetweenItsEnds) {
  const ProgressRect inner{2, 2, 398, 18};
  struct Row {
    ProgressRect oldBar, newBar, changed;
  } rows[] = {
      {{2, 2, 100, 18}, {2, 2, 103, 18}, {100, 2, 103, 18}},    // grows to the right
      {{2, 2, 398, 18}, {2, 2, 2, 18}, {2, 2, 398, 18}},        // falls back to empty
      {{40, 2, 120, 18}, {43, 2, 123, 18}, {40, 2, 123, 18}},   // the marquee block slides
      {{2, 10, 398, 18}, {2, 7, 398, 18}, {2, 7, 398, 10}},     // vertical, grows upward
      {{2, 2, 100, 18}, {2, 2, 100, 18}, {0, 0, 0, 0}},         // no move
      {{2, 2, 100, 18}, {2, 2, 500, 18}, inner},                // past the end: over the frame
      {{2, 2, 100, 18}, {2, 2, -40, 18}, inner},                // before the start
      {{2, 2, 100, 18}, {2, 5, 103, 18}, inner},                // no common side
  };
  for (const Row& row : rows) {
    const ProgressRect changed = ChangedByBarMove(row.oldBar, row.newBar, inner);
    EXPECT_EQ(changed.left, row.changed.left);
    EXPECT_EQ(changed.top, row.changed.top);
    EXPECT_EQ(changed.right, row.changed.right);
    EXPECT_EQ(changed.bottom, row.changed.bottom);
  }
}

}  // namespace
