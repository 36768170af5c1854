// CGridMemDC: an off-screen surface for one paint. Drawing goes to a memory
// bitmap in the target's coordinates; destruction copies it to the target in
// one block transfer. The caller draws every pixel of the covered rectangle
// (the progress bar's frame and regions do), so nothing is filled before.
#pragma once
#include <windows.h>

#include "ui/gdi.h"

// The memory context and bitmap behind CGridMemDC, kept by a control from
// one paint to the next (it grows when the control does): a paint then
// costs no allocation.
class OffscreenSurface {
 public:
  OffscreenSurface() = default;
  OffscreenSurface(const OffscreenSurface&) = delete;
  OffscreenSurface& operator=(const OffscreenSurface&) = delete;
  ~OffscreenSurface();

  // A memory context compatible with `target` holding a bitmap of at least width x height.
  HDC Acquire(HDC target, int width, int height);
  // Gives the memory context the target's mapping mode and extents and the
  // window origin `origin`. What it holds already from the last paint is
  // not set again: a window's paint context is in MM_TEXT, where the
  // extents count for nothing, and the origin mostly stays.
  void Align(HDC target, POINT origin);

 private:
  void Release();

  HDC m_dc = nullptr;
  ui::Bitmap m_bitmap;
  HGDIOBJ m_original = nullptr;
  int m_width = 0, m_height = 0;
  int m_mapMode = MM_TEXT;  // those of a new memory context
  POINT m_origin{0, 0};
};

class CGridMemDC {
 public:
  // `drawable`: the part of the target's window that may be drawn, in its
  // coordinates; the covered rectangle is the target's clip box within it.
  CGridMemDC(HDC target, const RECT& drawable, OffscreenSurface& surface);
  CGridMemDC(const CGridMemDC&) = delete;
  CGridMemDC& operator=(const CGridMemDC&) = delete;
  ~CGridMemDC();

  HDC Get() const { return m_bMemDC ? m_memDC : m_pDC; }
  // The covered rectangle: the target's clip box within the drawable part.
  const RECT& Covered() const { return m_rect; }

 private:
  bool m_bMemDC;
  HDC m_memDC = nullptr;
  HDC m_pDC;
  RECT m_rect{};
};
