#include "ui/skin.h"

#include "ui/gdi.h"

namespace skin {

void PaintFramedPage(HDC dc, const RECT& client) {
  ui::FillSolid(dc, client, RGB(255, 255, 255));
  ui::Pen pen(::CreatePen(PS_SOLID, kFrameWidth, kFrameColour));
  ui::DrawFrame(dc, client, pen.Get());
}

}  // namespace skin
