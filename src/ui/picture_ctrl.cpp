#include "ui/picture_ctrl.h"

#include <string>
#include <string_view>

#include "ui/gdi.h"

CPictureCtrl::~CPictureCtrl() { FreeImage(); }

void CPictureCtrl::OnAttached() {
  LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
  ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, (style & ~SS_TYPEMASK) | SS_OWNERDRAW);
}

bool CPictureCtrl::LoadFromResource(UINT id, const wchar_t* type) {
  if (m_bLoaded) FreeImage();
  HMODULE module = ::GetModuleHandleW(nullptr);
  HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(id), type);
  HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
  const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
  if (!bytes) return false;
  if (!m_image.Load(std::string_view(static_cast<const char*>(bytes), ::SizeofResource(module, found)))) return false;
  Loaded(id);
  PublishText(module, id);
  return true;
}

void CPictureCtrl::Loaded(UINT id) {
  m_bLoaded = 1;
  m_nPictureId = id;
  m_drawings.Clear();
}

bool CPictureCtrl::LoadBitmapResource(HMODULE module, UINT id, const wchar_t* type) {
  if (m_bLoaded) FreeImage();
  if (type && *type) {
    LoadFromResource(id, type);
  } else {
    m_image.Attach(static_cast<HBITMAP>(::LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (!m_image.IsNull()) Loaded(id);
    PublishText(module, id);
  }
  ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  return true;
}

void CPictureCtrl::FreeImage() {
  m_image.Destroy();
  m_bLoaded = 0;
  m_nPictureId = 0;
  m_drawings.Clear();
}

const CImage& CPictureCtrl::PictureAt(UiSize size) {
  const CImage* drawing = m_drawings.Get(m_nPictureId, {m_image.Width(), m_image.Height()}, size);
  return drawing ? *drawing : m_image;
}

void CPictureCtrl::DrawItem(const DRAWITEMSTRUCT& item) {
  if (!m_bLoaded) return;
  RECT client{};
  ::GetClientRect(m_hWnd, &client);
  const CImage& image = PictureAt({client.right, client.bottom});
  if (!image.HasAlpha()) return image.Draw(item.hDC, client);
  // Composed off-screen on the parent's ground, then copied in one block.
  ui::MemoryDC memory(item.hDC);
  ui::Bitmap surface(::CreateCompatibleBitmap(item.hDC, client.right, client.bottom));
  ui::SelectObjectScope selection(memory.Get(), surface.Get());
  PaintParentBackground(memory.Get(), client);
  image.Draw(memory.Get(), client);
  ::BitBlt(item.hDC, 0, 0, client.right, client.bottom, memory.Get(), 0, 0, SRCCOPY);
}

void CPictureCtrl::PaintParentBackground(HDC dc, const RECT& rect) const {
  HWND parent = ::GetParent(m_hWnd);
  POINT origin{0, 0};
  ::MapWindowPoints(m_hWnd, parent, &origin, 1);
  POINT previous{};
  ::SetViewportOrgEx(dc, -origin.x, -origin.y, &previous);
  ui::FillSolid(dc, {origin.x, origin.y, origin.x + rect.right, origin.y + rect.bottom}, ::GetSysColor(COLOR_BTNFACE));
  ::SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  ::SetViewportOrgEx(dc, previous.x, previous.y, nullptr);
}

LRESULT CPictureCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_MOUSEMOVE) ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
  return Default(message, wParam, lParam);
}

void CPictureCtrl::PublishText(HMODULE module, UINT id) const {
  const wchar_t* text = nullptr;
  int length = ::LoadStringW(module, id, reinterpret_cast<LPWSTR>(&text), 0);
  if (length > 0) ::SetWindowTextW(m_hWnd, std::wstring(text, length).c_str());
}
