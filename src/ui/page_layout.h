// Where the wizard and its skinned dialogs put their controls, in client
// pixels at 96 DPI; each window scales them to its own DPI (dpi_scale.h).
#pragma once
#include <vector>

#include "ui/dpi_scale.h"

struct ControlPlacement {
  int id = 0;
  UiRect rect;
};

namespace layout {

// Window sizes, frame included.
constexpr UiSize kWizardWindow{500, 400};
constexpr UiSize kReadmeWindow{480, 480};
constexpr UiSize kQuitWindow{160, 105};
constexpr UiSize kErrorWindow{407, 299};

// The wizard: the logo on every page, and the confirmation page's texts
// (drawn in a font of kConfirmFontHeight pixels).
constexpr UiRect kLogo{20, 6, 287, 75};
constexpr UiPoint kConfirmModelText{93, 103};
constexpr UiPoint kConfirmPortText{95, 130};
constexpr int kConfirmFontHeight = 18;
constexpr int kListFontTenths = 100;  // the port list's 10-point font

// The error box: its heading, and its button, whose top follows the message's lines.
constexpr UiRect kErrorHeading{80, 53, 151, 45};
constexpr UiRect kErrorButton{150, 205, 107, 36};
constexpr int kErrorFontHeight = 12;

// The readme's close glyph, kReadmeCloseFromRight from the client's right edge.
constexpr UiRect kReadmeClose{0, 5, 20, 17};
constexpr int kReadmeCloseFromRight = 25;
constexpr int kReadmeFontTenths = 115;

}  // namespace layout

// The controls a wizard page places when it is entered (`usbPortFound`
// chooses the port page's status picture).
std::vector<ControlPlacement> WizardPagePlacements(int page, bool usbPortFound);

// The quit question's buttons and question picture.
std::vector<ControlPlacement> QuitQuestionPlacements();

// The readme's close glyph in a client area `clientWidth` pixels wide at `dpi`, scaled.
UiRect ReadmeClosePlacement(int clientWidth, int dpi);
