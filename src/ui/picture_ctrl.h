// CPictureCtrl: a static control that draws an image of the program's
// resources: a bitmap copied, or a PNG blended with its per-pixel alpha.
#pragma once
#include <windows.h>

#include "ui/control.h"
#include "ui/image.h"
#include "ui/skin_picture.h"

class CPictureCtrl : public CControl {
 public:
  ~CPictureCtrl() override;

  // Decodes image resource `id` of type `type` ("PNG") into the control.
  bool LoadFromResource(UINT id, const wchar_t* type);
  // Loads bitmap `id` (empty `type`) or an image of `type`, then repaints.
  bool LoadBitmapResource(HMODULE module, UINT id, const wchar_t* type);
  void FreeImage();

  void DrawItem(const DRAWITEMSTRUCT& item) override;

 protected:
  void OnAttached() override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // The picture's text (its string resource) becomes the window text.
  void PublishText(HMODULE module, UINT id) const;
  // Paints the parent's background under the control, so that blending
  // starts from the same ground on every paint.
  void PaintParentBackground(HDC dc, const RECT& rect) const;
  // The picture to draw into a client area of `size`: the loaded image, or
  // its drawing at a larger scale fitted to the size.
  const CImage& PictureAt(UiSize size);
  void Loaded(UINT id);

  CImage m_image;  // as loaded: the picture at 96 DPI
  int m_bLoaded = 0;
  UINT m_nPictureId = 0;  // the resource id its drawings at larger scales share
  SkinDrawingCache m_drawings;
};
