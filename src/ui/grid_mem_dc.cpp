#include "ui/grid_mem_dc.h"

#include <algorithm>

namespace {
constexpr ATOM kDialogClassAtom = 32770;
}

CGridMemDC::CGridMemDC(HDC target, const RECT& drawable)
    : m_bMemDC(::GetDeviceCaps(target, TECHNOLOGY) != DT_RASPRINTER),
      m_memory(m_bMemDC ? target : nullptr),
      m_pDC(target) {
  ::GetClipBox(target, &m_rect);
  ::IntersectRect(&m_rect, &m_rect, &drawable);
  if (m_bMemDC) {
    m_bitmap.Reset(::CreateCompatibleBitmap(target, std::max(1L, m_rect.right - m_rect.left),
                                            std::max(1L, m_rect.bottom - m_rect.top)));
    m_oldBitmap = ::SelectObject(m_memory.Get(), m_bitmap.Get());
    ::SetMapMode(m_memory.Get(), ::GetMapMode(target));
    SIZE extent{};
    ::GetWindowExtEx(target, &extent);
    ::SetWindowExtEx(m_memory.Get(), extent.cx, extent.cy, nullptr);
    ::GetViewportExtEx(target, &extent);
    ::SetViewportExtEx(m_memory.Get(), extent.cx, extent.cy, nullptr);
    ::SetWindowOrgEx(m_memory.Get(), m_rect.left, m_rect.top, nullptr);
  }
  PreFill();
}

CGridMemDC::~CGridMemDC() {
  if (!m_bMemDC) return;
  ::BitBlt(m_pDC, m_rect.left, m_rect.top, m_rect.right - m_rect.left, m_rect.bottom - m_rect.top, m_memory.Get(),
           m_rect.left, m_rect.top, SRCCOPY);
  ::SelectObject(m_memory.Get(), m_oldBitmap);
}

void CGridMemDC::PreFill() {
  HWND window = ::WindowFromDC(m_pDC);
  if (window && ::GetClassLongW(window, GCW_ATOM) == kDialogClassAtom) {
    ::FillRect(Get(), &m_rect, ::GetSysColorBrush(COLOR_BTNFACE));
  } else if (HBRUSH brush = window ? reinterpret_cast<HBRUSH>(::GetClassLongPtrW(window, GCLP_HBRBACKGROUND)) : nullptr) {
    ::FillRect(Get(), &m_rect, brush);
  } else {
    ui::FillSolid(Get(), m_rect, ::GetBkColor(m_pDC));
  }
}
