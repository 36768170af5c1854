// RAII for GDI objects, device contexts and selections, and the point-font
// helper. Every GDI handle the UI creates is owned by one of these.
#pragma once
#include <windows.h>

#include <utility>

namespace ui {

// Owns one GDI object (font, bitmap, brush, pen, region); DeleteObject on release.
template <class H>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(H handle) : m_handle(handle) {}
  GdiObject(GdiObject&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.m_handle, nullptr));
    return *this;
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  ~GdiObject() { Reset(); }

  H Get() const { return m_handle; }
  explicit operator bool() const { return m_handle != nullptr; }
  void Reset(H handle = nullptr) {
    if (m_handle) ::DeleteObject(m_handle);
    m_handle = handle;
  }
  H Release() { return std::exchange(m_handle, nullptr); }

 private:
  H m_handle = nullptr;
};

using Font = GdiObject<HFONT>;
using Bitmap = GdiObject<HBITMAP>;
using Brush = GdiObject<HBRUSH>;
using Pen = GdiObject<HPEN>;
using Region = GdiObject<HRGN>;

// A memory device context compatible with another one; DeleteDC on release.
class MemoryDC {
 public:
  explicit MemoryDC(HDC compatibleWith) : m_dc(::CreateCompatibleDC(compatibleWith)) {}
  MemoryDC(const MemoryDC&) = delete;
  MemoryDC& operator=(const MemoryDC&) = delete;
  ~MemoryDC() {
    if (m_dc) ::DeleteDC(m_dc);
  }
  HDC Get() const { return m_dc; }
  explicit operator bool() const { return m_dc != nullptr; }

 private:
  HDC m_dc;
};

// BeginPaint ... EndPaint for one WM_PAINT.
class PaintDC {
 public:
  explicit PaintDC(HWND window) : m_window(window) { m_dc = ::BeginPaint(window, &m_paint); }
  PaintDC(const PaintDC&) = delete;
  PaintDC& operator=(const PaintDC&) = delete;
  ~PaintDC() { ::EndPaint(m_window, &m_paint); }
  HDC Get() const { return m_dc; }
  const PAINTSTRUCT& Paint() const { return m_paint; }

 private:
  HWND m_window;
  PAINTSTRUCT m_paint{};
  HDC m_dc;
};

// GetDC ... ReleaseDC.
class WindowDC {
 public:
  explicit WindowDC(HWND window) : m_window(window), m_dc(::GetDC(window)) {}
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  ~WindowDC() {
    if (m_dc) ::ReleaseDC(m_window, m_dc);
  }
  HDC Get() const { return m_dc; }

 private:
  HWND m_window;
  HDC m_dc;
};

// Selects an object into a device context and puts the previous one back.
class SelectObjectScope {
 public:
  SelectObjectScope(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(object ? ::SelectObject(dc, object) : nullptr) {}
  SelectObjectScope(const SelectObjectScope&) = delete;
  SelectObjectScope& operator=(const SelectObjectScope&) = delete;
  ~SelectObjectScope() {
    if (m_previous) ::SelectObject(m_dc, m_previous);
  }

 private:
  HDC m_dc;
  HGDIOBJ m_previous;
};

// A font of `tenthsOfPoint` / 10 points for a window at `dpi`.
Font CreatePointFont(int tenthsOfPoint, const wchar_t* face, int dpi);

// CreateFontW with the skin's usual parameters: weight 400, GB2312 character
// set, default precisions and quality, FF_SWISS; `height96` pixels at 96
// DPI, scaled to `dpi`.
Font CreateSkinFont(int height96, const wchar_t* face, int dpi);

// Draws the outline of `rect` (its right and bottom edges included) with `pen`.
void DrawFrame(HDC dc, const RECT& rect, HPEN pen);

// Fills `rect` with a solid colour.
void FillSolid(HDC dc, const RECT& rect, COLORREF colour);

}  // namespace ui
