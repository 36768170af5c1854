// CImage: a picture held as a DIB section, decoded from PNG (or any format of
// the platform's codec, WIC) or taken over from a loaded bitmap. Images with
// alpha are premultiplied once, when decoded, ready for AlphaBlend.
#pragma once
#include <windows.h>

#include <string_view>

#include "ui/gdi.h"

class CImage {
 public:
  // Decodes an encoded image (PNG, ...) held in memory.
  bool Load(std::string_view bytes);
  // Takes over a bitmap (LoadImageW with LR_CREATEDIBSECTION).
  void Attach(HBITMAP bitmap);
  void Destroy();

  bool IsNull() const { return !m_bitmap; }
  bool HasAlpha() const { return m_hasAlpha; }
  // Draws the whole image scaled to `to`: blended when it has alpha, else copied.
  void Draw(HDC dc, const RECT& to) const;

 private:
  ui::Bitmap m_bitmap;
  int m_width = 0;
  int m_height = 0;
  bool m_hasAlpha = false;
};

// c * a / 255 rounded down for each colour byte of 32-bit BGRA pixels.
void PremultiplyAlpha(BYTE* pixels, size_t pixelCount);
