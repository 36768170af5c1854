// The one rounding rule, the drawings a picture takes, and the windows'
// layouts at the scales Windows offers and at an odd DPI: every control
// inside its window, as large as its picture's drawing where one fits.
#include "ui/page_layout.h"

#include <gtest/gtest.h>

#include "res/resource.h"
#include "ui/dpi_scale.h"
#include "ui/error_layout.h"
#include "ui/skin_drawings.h"
#include "ui/wizard_flow.h"

namespace {

constexpr int kDpis[] = {96, 120, 137, 144, 168, 192, 240, 288};

TEST(DpiScale, RoundsHalfAwayFromZeroAsMulDiv) {
  EXPECT_EQ(MulDivRounded(1, 3, 2), 2);
  EXPECT_EQ(MulDivRounded(-1, 3, 2), -2);
  EXPECT_EQ(MulDivRounded(1, -3, 2), -2);
  EXPECT_EQ(MulDivRounded(5, 1, 3), 2);
  EXPECT_EQ(MulDivRounded(4, 1, 3), 1);
  EXPECT_EQ(MulDivRounded(7, 1, 0), -1);
  EXPECT_EQ(MulDivRounded(2000000000, 3, 4), 1500000000);  // the product does not overflow
  EXPECT_EQ(ScaleToDpi(27, 144), 41);   // 40.5
  EXPECT_EQ(ScaleToDpi(45, 144), 68);   // 67.5
  EXPECT_EQ(ScaleToDpi(500, 137), 714);  // 713.5
  EXPECT_EQ(ScaleToDpi(18, 120), 23);   // 22.5
  EXPECT_EQ(ScaleToDpi(UiRect{52, 95, 130, 37}, 144), (UiRect{78, 143, 195, 56}));  // 142.5, 55.5
  EXPECT_EQ(RescaleBetweenDpis(-16, 192, 96), -8);
  EXPECT_EQ(RescaleBetweenDpis(-13, 96, 144), -20);  // -19.5
}

TEST(DpiScale, PointFontsFollowTheDpi) {
  EXPECT_EQ(PointFontHeight(100, 96), -13);   // 13.3
  EXPECT_EQ(PointFontHeight(100, 192), -27);  // 26.7
  EXPECT_EQ(PointFontHeight(115, 96), -15);
  EXPECT_EQ(PointFontHeight(115, 144), -23);  // 23.0
  EXPECT_EQ(PointFontHeight(90, 120), -15);
}

TEST(SkinDrawings, TheSmallestDrawingAtLeastAsLargeElseTheLargest) {
  const UiSize button{105, 28};
  EXPECT_EQ(ChooseSkinDrawing(button, button), kBaseDpi);
  EXPECT_EQ(ChooseSkinDrawing(button, {90, 20}), kBaseDpi);  // smaller: the bitmap itself, shrunk
  for (int dpi : kSkinDrawnDpis) EXPECT_EQ(ChooseSkinDrawing(button, ScaleToDpi(button, dpi)), dpi);  // exact fits
  EXPECT_EQ(ChooseSkinDrawing(button, ScaleToDpi(button, 120)), 144);
  EXPECT_EQ(ChooseSkinDrawing(button, ScaleToDpi(button, 137)), 144);
  EXPECT_EQ(ChooseSkinDrawing(button, ScaleToDpi(button, 168)), 192);
  EXPECT_EQ(ChooseSkinDrawing(button, ScaleToDpi(button, 240)), 288);
  EXPECT_EQ(ChooseSkinDrawing(button, ScaleToDpi(button, 384)), 288);  // past the largest: the largest
  // A control taller than its picture (the confirmation note, 400 x 50 in
  // 400 x 52) takes the drawing that covers it in both directions.
  EXPECT_EQ(ChooseSkinDrawing({400, 50}, ScaleToDpi(UiSize{400, 52}, 192)), 288);
  EXPECT_EQ(SkinDrawingType(192), L"SKIN192");
}

// Inside a window of `window` pixels at 96 DPI whose frame and caption take
// `frame` pixels across and down at 96 DPI, at every DPI.
void ExpectInside(const std::vector<ControlPlacement>& placements, UiSize window, UiSize frame, const char* what) {
  for (int dpi : kDpis) {
    const UiSize client{ScaleToDpi(window.width - frame.width, dpi), ScaleToDpi(window.height - frame.height, dpi)};
    for (const ControlPlacement& p : placements) {
      const UiRect r = ScaleToDpi(p.rect, dpi);
      EXPECT_GE(r.x, 0) << what << " " << p.id << " at " << dpi;
      EXPECT_GE(r.y, 0) << what << " " << p.id << " at " << dpi;
      EXPECT_LE(r.Right(), client.width) << what << " " << p.id << " at " << dpi;
      EXPECT_LE(r.Bottom(), client.height) << what << " " << p.id << " at " << dpi;
      // Each edge within a pixel of its exact place.
      EXPECT_LE(std::abs(r.x * 96 - p.rect.x * dpi), 48) << what << " " << p.id << " at " << dpi;
      EXPECT_LE(std::abs(r.width * 96 - p.rect.width * dpi), 48) << what << " " << p.id << " at " << dpi;
    }
  }
}

constexpr UiSize kCaptionWindowFrame{10, 40};  // the wizard: caption and frame at 96 DPI, the widest Windows draws
constexpr UiSize kBorderFrame{2, 2};          // the skinned dialogs: a thin border

TEST(PageLayout, EveryControlOfEveryWindowStaysInsideAtEveryScale) {
  for (int page : {ModelPage, ConfirmPage, InstallPage})
    ExpectInside(WizardPagePlacements(page, true), layout::kWizardWindow, kCaptionWindowFrame, "wizard page");
  ExpectInside(WizardPagePlacements(PortPage, true), layout::kWizardWindow, kCaptionWindowFrame, "port page");
  ExpectInside(WizardPagePlacements(PortPage, false), layout::kWizardWindow, kCaptionWindowFrame, "port page, no USB");
  ExpectInside({{IDC_LOGO, layout::kLogo}}, layout::kWizardWindow, kCaptionWindowFrame, "logo");
  ExpectInside(QuitQuestionPlacements(), layout::kQuitWindow, kBorderFrame, "quit question");
  UiRect lowestButton = layout::kErrorButton;
  lowestButton.y = LayOutErrorPage(std::wstring(63, L'9')).buttonY;  // three lines of code text
  ExpectInside({{IDC_MESERROR_HEADING, layout::kErrorHeading}, {IDC_MESERROR_OK, lowestButton}}, layout::kErrorWindow,
               kBorderFrame, "error box");
  for (int dpi : kDpis) {
    const int client = ScaleToDpi(layout::kReadmeWindow.width, dpi) - 2;
    const UiRect close = ReadmeClosePlacement(client, dpi);
    EXPECT_GT(close.x, client / 2) << dpi;
    EXPECT_LE(close.Right(), client) << dpi;
    EXPECT_EQ(close.Size(), ScaleToDpi(UiSize{20, 17}, dpi)) << dpi;
  }
}

TEST(PageLayout, PagesPlaceTheirControlsAtThePartsPixels) {
  auto find = [](const std::vector<ControlPlacement>& placements, int id) {
    for (const ControlPlacement& p : placements)
      if (p.id == id) return p.rect;
    return UiRect{};
  };
  EXPECT_EQ(find(WizardPagePlacements(ModelPage, true), IDC_MODEL_LIST), (UiRect{58, 130, 350, 130}));
  EXPECT_EQ(find(WizardPagePlacements(PortPage, true), IDC_STATUS_PICTURE), (UiRect{35, 107, 420, 50}));
  EXPECT_EQ(find(WizardPagePlacements(PortPage, false), IDC_STATUS_PICTURE), (UiRect{35, 76, 419, 85}));
  EXPECT_EQ(find(WizardPagePlacements(ConfirmPage, true), IDC_FINISH), (UiRect{273, 310, 75, 29}));
  EXPECT_EQ(find(WizardPagePlacements(InstallPage, true), IDC_PROGRESS), (UiRect{50, 180, 400, 25}));
  EXPECT_TRUE(WizardPagePlacements(0, true).empty());
  EXPECT_TRUE(WizardPagePlacements(5, true).empty());
  // Doubled at 192 DPI, the wizard is 1000 x 800 and the readme 960 x 960.
  EXPECT_EQ(ScaleToDpi(layout::kWizardWindow, 192), (UiSize{1000, 800}));
  EXPECT_EQ(ScaleToDpi(layout::kReadmeWindow, 192), (UiSize{960, 960}));
  EXPECT_EQ(ScaleToDpi(layout::kConfirmModelText, 144), (UiPoint{140, 155}));  // 139.5, 154.5
}

}  // namespace
