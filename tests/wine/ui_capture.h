// Helpers of the Windows-side UI tests: pixels read back from a window, a
// plain parent window that reflects owner-draw requests to a bound control,
// and modal runs driven from a second thread.
#pragma once
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "ui/control.h"

namespace ui_test {

// A window's pixels (whole window, or client area), as read back by BitBlt.
class Capture {
 public:
  Capture(HWND window, bool wholeWindow = false) {
    RECT r{};
    if (wholeWindow) {
      ::GetWindowRect(window, &r);
      ::OffsetRect(&r, -r.left, -r.top);
    } else {
      ::GetClientRect(window, &r);
    }
    m_width = r.right;
    m_height = r.bottom;
    HDC source = wholeWindow ? ::GetWindowDC(window) : ::GetDC(window);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = m_width;
    info.bmiHeader.biHeight = -m_height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP dib = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = ::CreateCompatibleDC(source);
    HGDIOBJ old = ::SelectObject(memory, dib);
    ::BitBlt(memory, 0, 0, m_width, m_height, source, 0, 0, SRCCOPY);
    ::GdiFlush();
    auto* p = static_cast<uint32_t*>(bits);
    m_pixels.assign(p, p + static_cast<size_t>(m_width) * m_height);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::DeleteObject(dib);
    ::ReleaseDC(window, source);
  }

  int Width() const { return m_width; }
  int Height() const { return m_height; }
  // The pixel as a COLORREF (0x00BBGGRR).
  COLORREF At(int x, int y) const {
    uint32_t p = m_pixels[static_cast<size_t>(y) * m_width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  bool operator==(const Capture& other) const { return m_pixels == other.m_pixels; }
  // Whether any pixel of the rectangle differs from `colour`.
  bool AnyOtherThan(const RECT& r, COLORREF colour) const {
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        if (At(x, y) != colour) return true;
    return false;
  }
  // Saves a 24-bit BMP into QX_SCREENSHOT_DIR when it is set (screenshots for people).
  void SaveIfAsked(const char* name) const {
    const char* folder = std::getenv("QX_SCREENSHOT_DIR");
    if (!folder) return;
    std::string path = std::string(folder) + "\\" + name + ".bmp";
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return;
    int stride = (m_width * 3 + 3) & ~3;
    BITMAPFILEHEADER fileHeader{0x4D42, static_cast<DWORD>(54 + stride * m_height), 0, 0, 54};
    BITMAPINFOHEADER header{sizeof header, m_width, -m_height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    std::fwrite(&fileHeader, sizeof fileHeader, 1, file);
    std::fwrite(&header, sizeof header, 1, file);
    std::vector<uint8_t> row(stride);
    for (int y = 0; y < m_height; ++y) {
      for (int x = 0; x < m_width; ++x) {
        uint32_t p = m_pixels[static_cast<size_t>(y) * m_width + x];
        row[3 * x] = p & 0xFF;
        row[3 * x + 1] = (p >> 8) & 0xFF;
        row[3 * x + 2] = (p >> 16) & 0xFF;
      }
      std::fwrite(row.data(), 1, stride, file);
    }
    std::fclose(file);
  }

 private:
  int m_width = 0, m_height = 0;
  std::vector<uint32_t> m_pixels;
};

// A visible top-level window with a plain ground that hands WM_DRAWITEM to
// the control bound with Reflect, as the dialogs do.
class Ground {
 public:
  explicit Ground(COLORREF colour, int width = 500, int height = 200) : m_brush(::CreateSolidBrush(colour)) {
    WNDCLASSW cls{};
    cls.lpfnWndProc = &Ground::Proc;
    cls.hInstance = ::GetModuleHandleW(nullptr);
    cls.lpszClassName = L"QxTestGround";
    cls.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    ::RegisterClassW(&cls);  // fails harmlessly when registered already
    window = ::CreateWindowExW(WS_EX_TOPMOST, L"QxTestGround", L"ground", WS_POPUP | WS_VISIBLE, 20, 20, width,
                               height, nullptr, nullptr, nullptr, nullptr);
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~Ground() {
    ::DestroyWindow(window);
    ::DeleteObject(m_brush);
  }
  HWND Child(const wchar_t* cls, DWORD style, int id, int x, int y, int w, int h) const {
    return ::CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE | style, x, y, w, h, window,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  }
  void Reflect(CControl& control) { m_reflected = &control; }
  // Paints everything pending.
  void Settle() const {
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
  }
  static void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }

  HWND window = nullptr;

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Ground*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == WM_ERASEBKGND) {
      RECT r{};
      ::GetClientRect(window, &r);
      ::FillRect(reinterpret_cast<HDC>(wParam), &r, self->m_brush);
      return TRUE;
    }
    auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (self && message == WM_DRAWITEM && self->m_reflected && item->hwndItem == self->m_reflected->GetSafeHwnd()) {
      self->m_reflected->DrawItem(*item);
      return TRUE;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
  }

  HBRUSH m_brush;
  CControl* m_reflected = nullptr;
};

// Runs `act` on a second thread with the dialog titled `title` once it is
// shown and painted, while the calling thread runs the modal loop.
inline std::thread WhenShown(const std::wstring& title, std::function<void(HWND)> act) {
  return std::thread([title, act] {
    HWND window = nullptr;
    for (int i = 0; i < 1000 && !(window && ::IsWindowVisible(window)); ++i, ::Sleep(10))
      window = ::FindWindowW(L"#32770", title.c_str());
    ::Sleep(300);  // first paint
    if (window) act(window);
  });
}

}  // namespace ui_test
