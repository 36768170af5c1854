// CGridMemDC: an off-screen surface for one paint. Drawing goes to a memory
// bitmap in the target's coordinates, pre-filled with the window's ground;
// destruction copies it to the target in one block transfer.
#pragma once
#include <windows.h>

#include "ui/gdi.h"

class CGridMemDC {
 public:
  // `drawable`: the part of the target's window that may be drawn, in its
  // coordinates; the covered rectangle is the target's clip box within it.
  CGridMemDC(HDC target, const RECT& drawable);
  CGridMemDC(const CGridMemDC&) = delete;
  CGridMemDC& operator=(const CGridMemDC&) = delete;
  ~CGridMemDC();

  HDC Get() const { return m_bMemDC ? m_memory.Get() : m_pDC; }

 private:
  void PreFill();

  bool m_bMemDC;
  ui::MemoryDC m_memory;
  ui::Bitmap m_bitmap;
  HGDIOBJ m_oldBitmap = nullptr;
  HDC m_pDC;
  RECT m_rect{};
};
