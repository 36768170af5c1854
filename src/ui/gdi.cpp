#include "ui/gdi.h"

#include "ui/dpi_scale.h"

namespace ui {

Font CreatePointFont(int tenthsOfPoint, const wchar_t* face, int dpi) {
  LOGFONTW font{};
  font.lfHeight = PointFontHeight(tenthsOfPoint, dpi);
  font.lfCharSet = DEFAULT_CHARSET;
  ::lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
  return Font(::CreateFontIndirectW(&font));
}

Font CreateSkinFont(int height96, const wchar_t* face, int dpi) {
  return Font(::CreateFontW(ScaleToDpi(height96, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET, 0, 0, 0, 0x20, face));
}

void DrawFrame(HDC dc, const RECT& rect, HPEN pen) {
  SelectObjectScope selection(dc, pen);
  POINT corners[] = {{rect.left, rect.top}, {rect.right, rect.top}, {rect.right, rect.bottom},
                     {rect.left, rect.bottom}, {rect.left, rect.top}};
  ::Polyline(dc, corners, 5);
}

void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
  // An opaque empty text fills with the background colour without a brush.
  COLORREF previous = ::SetBkColor(dc, colour);
  ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
  ::SetBkColor(dc, previous);
}

}  // namespace ui
