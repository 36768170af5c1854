#include "ui/skin_drawings.h"

#include <iterator>

namespace {

bool Covers(UiSize picture, UiSize target) {
  return picture.width >= target.width && picture.height >= target.height;
}

}  // namespace

int ChooseSkinDrawing(UiSize base, UiSize target) {
  if (Covers(base, target)) return kBaseDpi;
  for (int dpi : kSkinDrawnDpis)
    if (Covers(ScaleToDpi(base, dpi), target)) return dpi;
  return kSkinDrawnDpis[std::size(kSkinDrawnDpis) - 1];
}

std::wstring SkinDrawingType(int dpi) { return L"SKIN" + std::to_wstring(dpi); }
