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
  // Decodes it scaled to `width` x `height` by the codecs' Fant filter.
  bool LoadScaled(std::string_view bytes, int width, int height);
  // Takes over a bitmap (LoadImageW with LR_CREATEDIBSECTION).
  void Attach(HBITMAP bitmap);
  void Destroy();

  bool IsNull() const { return !m_bitmap; }
  bool HasAlpha() const { return m_hasAlpha; }
  int Width() const { return m_width; }
  int Height() const { return m_height; }
  // Draws the whole image scaled to `to`: blended when it has alpha, else copied.
  void Draw(HDC dc, const RECT& to) const;

 private:
  // Decodes `bytes`, scaled to `size` when one is given.
  bool Decode(std::string_view bytes, const SIZE* size);

  ui::Bitmap m_bitmap;
  int m_width = 0;
  int m_height = 0;
  bool m_hasAlpha = false;
};

// c * a / 255 rounded down for each colour byte of 32-bit BGRA pixels.
void PremultiplyAlpha(BYTE* pixels, size_t pixelCount);
