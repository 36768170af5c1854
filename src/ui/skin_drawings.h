// The skin pictures come as 24-bit bitmaps at 96 DPI and as PNG drawings at
// the larger scales below (scripts/draw-skin.py reads this list and draws
// each picture at each of them, sized by ScaleToDpi). A picture shown larger
// than its bitmap takes the smallest drawing at least as large as it shows
// and is scaled down to fit, never up while a drawing is large enough.
#pragma once
#include <string>

#include "ui/dpi_scale.h"

// The DPIs the drawings fit exactly: 150 %, 200 % and 300 %.
constexpr int kSkinDrawnDpis[] = {144, 192, 288};

// The DPI of the picture to take for a picture of `base` pixels (its 96-DPI
// bitmap) shown at `target` pixels: kBaseDpi for the bitmap itself when it
// is as large as the target, else the smallest drawing at least as large in
// both directions, else the largest drawing.
int ChooseSkinDrawing(UiSize base, UiSize target);

// The resource type of the drawings at `dpi`: "SKIN144", say. The picture's
// own id names it inside that type.
std::wstring SkinDrawingType(int dpi);
