#include "ui/skin.h"

#include "ui/dpi_scale.h"

namespace skin {

ui::Pen CreateFramePen(int dpi) { return ui::Pen(::CreatePen(PS_SOLID, ScaleToDpi(kFrameWidth, dpi), kFrameColour)); }

void PaintFramedPage(HDC dc, const RECT& client, int dpi) {
  ui::FillSolid(dc, client, RGB(255, 255, 255));
  ui::Pen pen = CreateFramePen(dpi);
  ui::DrawFrame(dc, client, pen.Get());
}

}  // namespace skin
