#include "ui/control.h"

#include <commctrl.h>

namespace {
constexpr UINT_PTR kSubclassId = 0x5158;  // one subclass of ours per window
}

CControl::~CControl() { Detach(); }

void CControl::Attach(HWND window) {
  Detach();
  if (!window || !::SetWindowSubclass(window, &CControl::SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)))
    return;
  m_hWnd = window;
  OnAttached();
}

void CControl::Detach() {
  if (!m_hWnd) return;
  ::RemoveWindowSubclass(m_hWnd, &CControl::SubclassProc, kSubclassId);
  m_hWnd = nullptr;
}

void CControl::DrawItem(const DRAWITEMSTRUCT&) {}

void CControl::MoveWindow(int x, int y, int width, int height) const {
  ::SetWindowPos(m_hWnd, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CControl::ShowWindow(bool show) const { ::ShowWindow(m_hWnd, show ? SW_SHOW : SW_HIDE); }

void CControl::SetWindowText(const wchar_t* text) const { ::SetWindowTextW(m_hWnd, text); }

LRESULT CControl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) { return Default(message, wParam, lParam); }

LRESULT CControl::Default(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::DefSubclassProc(m_hWnd, message, wParam, lParam);
}

LRESULT CALLBACK CControl::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                        DWORD_PTR self) {
  auto* control = reinterpret_cast<CControl*>(self);
  if (message == WM_NCDESTROY) {
    control->Detach();
    return ::DefSubclassProc(window, message, wParam, lParam);
  }
  return control->WindowProc(message, wParam, lParam);
}
