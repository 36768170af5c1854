// The skin pictures at the size a control shows them: the 24-bit bitmap
// where the control is as large as it, else the drawing that
// ChooseSkinDrawing picks, scaled to the control once and kept.
#pragma once
#include <windows.h>

#include <vector>

#include "ui/dpi_scale.h"
#include "ui/image.h"

// The size of bitmap resource `id` of the program, read from its header
// without loading it; false when there is no such bitmap.
bool SkinBitmapSize(UINT id, UiSize& size);

// The drawings a control showed at its present size, one per picture id: a
// control that changes size (a new DPI) gets its drawings made anew.
class SkinDrawingCache {
 public:
  // Picture `id`, whose 96-DPI picture is `base`, at `target`; nullptr when
  // the 96-DPI picture itself is to be drawn or no drawing can be had.
  const CImage* Get(UINT id, UiSize base, UiSize target);
  void Clear() { m_entries.clear(); }

 private:
  struct Entry {
    UINT id = 0;
    UiSize size;
    CImage image;
  };
  std::vector<Entry> m_entries;
};
