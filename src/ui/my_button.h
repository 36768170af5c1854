// CMyButton: an owner-drawn push button that draws a bitmap of the program's
// resources and swaps it for its hover form while the mouse is over it.
#pragma once
#include <windows.h>

#include <string>

#include "ui/control.h"
#include "ui/skin_picture.h"

class CMyButton : public CControl {
 public:
  // The bitmap drawn now; the owner sets it (0 until then).
  int m_nBitmapId = 0;
  // The caption: never drawn, it selects the pair of pictures and is the
  // button's window text for screen readers.
  std::wstring m_strText;

  void DrawItem(const DRAWITEMSTRUCT& item) override;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void OnMouseMove();
  void OnMouseLeave();
  // The bitmap as large as the button, loaded for this draw.
  void DrawBitmap(const DRAWITEMSTRUCT& item) const;
  // A drawing at a larger scale, fitted to the button, with an edge as thick as the scale.
  void DrawDrawing(HDC dc, const CImage& drawing, const RECT& rect, UiSize base) const;
  // Without a bitmap: a plain face with the caption, so the button stays usable.
  void DrawPlainFace(HDC dc, const RECT& rect) const;
  void PublishCaption() const;

  SkinDrawingCache m_drawings;  // the normal and hover drawings at the button's size
};
