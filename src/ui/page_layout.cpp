#include "ui/page_layout.h"

#include "res/resource.h"
#include "ui/wizard_flow.h"

std::vector<ControlPlacement> WizardPagePlacements(int page, bool usbPortFound) {
  switch (page) {
    case ModelPage:
      return {{IDC_HEADING_PICTURE, {52, 95, 130, 37}},
              {IDC_BACK, {132, 300, 105, 28}},
              {IDC_NEXT, {241, 300, 105, 28}},
              {IDC_CANCEL, {366, 300, 75, 29}},
              {IDC_MODEL_LIST, {58, 130, 350, 130}}};
    case PortPage:
      return {{IDC_BACK, {129, 300, 105, 28}},
              {IDC_NEXT, {233, 300, 105, 28}},
              {IDC_CANCEL, {363, 300, 75, 29}},
              {IDC_STATUS_PICTURE, usbPortFound ? UiRect{35, 107, 420, 50} : UiRect{35, 76, 419, 85}},
              {IDC_PORT_LIST, {43, 157, 350, 120}}};
    case ConfirmPage:
      return {{IDC_BACK, {153, 310, 105, 28}},
              {IDC_FINISH, {273, 310, 75, 29}},
              {IDC_CANCEL, {366, 310, 75, 29}},
              {IDC_STATUS_PICTURE, {46, 102, 45, 51}},
              {IDC_HEADING_PICTURE, {41, 165, 400, 52}}};
    case InstallPage:
      return {{IDC_PROGRESS, {50, 180, 400, 25}}, {IDC_STATUS_PICTURE, {50, 150, 125, 25}}};
    default:
      return {};
  }
}

std::vector<ControlPlacement> QuitQuestionPlacements() {
  return {{IDC_ISCLOSE_YES, {38, 60, 27, 27}},
          {IDC_ISCLOSE_NO, {87, 60, 27, 27}},
          {IDC_ISCLOSE_QUESTION, {23, 25, 119, 29}}};
}

UiRect ReadmeClosePlacement(int clientWidth, int dpi) {
  UiRect close = ScaleToDpi(layout::kReadmeClose, dpi);
  close.x = clientWidth - ScaleToDpi(layout::kReadmeCloseFromRight, dpi);
  return close;
}
