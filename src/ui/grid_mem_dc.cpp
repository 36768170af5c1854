#include "ui/grid_mem_dc.h"

#include <algorithm>

OffscreenSurface::~OffscreenSurface() { Release(); }

void OffscreenSurface::Release() {
  if (!m_dc) return;
  ::SelectObject(m_dc, m_original);
  ::DeleteDC(m_dc);
  m_dc = nullptr;
  m_bitmap.Reset();
  m_width = m_height = 0;
  m_mapMode = MM_TEXT;
  m_origin = {0, 0};
}

HDC OffscreenSurface::Acquire(HDC target, int width, int height) {
  if (m_dc && width <= m_width && height <= m_height) return m_dc;
  Release();
  m_dc = ::CreateCompatibleDC(target);
  m_bitmap.Reset(::CreateCompatibleBitmap(target, width, height));
  if (!m_dc || !m_bitmap) {
    if (m_dc) ::DeleteDC(m_dc);
    m_dc = nullptr;
    return nullptr;
  }
  m_original = ::SelectObject(m_dc, m_bitmap.Get());
  m_width = width;
  m_height = height;
  return m_dc;
}

void OffscreenSurface::Align(HDC target, POINT origin) {
  const int mode = ::GetMapMode(target);
  if (mode != MM_TEXT || m_mapMode != MM_TEXT) {
    ::SetMapMode(m_dc, mode);
    SIZE extent{};
    ::GetWindowExtEx(target, &extent);
    ::SetWindowExtEx(m_dc, extent.cx, extent.cy, nullptr);
    ::GetViewportExtEx(target, &extent);
    ::SetViewportExtEx(m_dc, extent.cx, extent.cy, nullptr);
    m_mapMode = mode;
  }
  if (origin.x == m_origin.x && origin.y == m_origin.y) return;
  ::SetWindowOrgEx(m_dc, origin.x, origin.y, nullptr);
  m_origin = origin;
}

CGridMemDC::CGridMemDC(HDC target, const RECT& drawable, OffscreenSurface& surface)
    : m_bMemDC(::GetDeviceCaps(target, TECHNOLOGY) != DT_RASPRINTER), m_pDC(target) {
  ::GetClipBox(target, &m_rect);
  ::IntersectRect(&m_rect, &m_rect, &drawable);
  if (m_bMemDC) {
    m_memDC = surface.Acquire(target, std::max(1L, m_rect.right - m_rect.left), std::max(1L, m_rect.bottom - m_rect.top));
    m_bMemDC = m_memDC != nullptr;  // without memory for it, straight to the target
  }
  if (m_bMemDC) surface.Align(target, {m_rect.left, m_rect.top});
}

CGridMemDC::~CGridMemDC() {
  if (!m_bMemDC) return;
  ::BitBlt(m_pDC, m_rect.left, m_rect.top, m_rect.right - m_rect.left, m_rect.bottom - m_rect.top, m_memDC,
           m_rect.left, m_rect.top, SRCCOPY);
}
