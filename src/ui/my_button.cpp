#include "ui/my_button.h"

#include <algorithm>

#include "res/resource.h"
#include "ui/gdi.h"

namespace {

struct BitmapPair {
  const wchar_t* caption;
  int normal;
  int hover;
};

constexpr BitmapPair kPairs[] = {
    {L"上一步", IDB_BACK, IDB_BACK_HOVER},   {L"下一步", IDB_NEXT, IDB_NEXT_HOVER},
    {L"取消", IDB_CANCEL, IDB_CANCEL_HOVER}, {L"完成", IDB_FINISH, IDB_FINISH_HOVER},
    {L"确认", IDB_OK, IDB_OK_HOVER},         {L"是", IDB_YES, IDB_YES_HOVER},
    {L"否", IDB_NO, IDB_NO_HOVER},
};

const BitmapPair* PairOf(const std::wstring& caption) {
  for (const auto& pair : kPairs)
    if (caption == pair.caption) return &pair;
  return nullptr;
}

constexpr COLORREF kEdgeGrey = RGB(128, 128, 128);

}  // namespace

LRESULT CMyButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_MOUSEMOVE) OnMouseMove();
  if (message == WM_MOUSELEAVE) OnMouseLeave();
  return Default(message, wParam, lParam);
}

void CMyButton::OnMouseMove() {
  ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
  if (const BitmapPair* pair = PairOf(m_strText)) m_nBitmapId = pair->hover;
  ::InvalidateRect(m_hWnd, nullptr, FALSE);
  TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, m_hWnd, 0};
  ::TrackMouseEvent(&track);
}

void CMyButton::OnMouseLeave() {
  if (const BitmapPair* pair = PairOf(m_strText)) m_nBitmapId = pair->normal;
  ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CMyButton::DrawItem(const DRAWITEMSTRUCT& item) {
  PublishCaption();
  const RECT& to = item.rcItem;
  UiSize base;
  if (!m_nBitmapId || !SkinBitmapSize(m_nBitmapId, base)) return DrawPlainFace(item.hDC, to);
  const UiSize target{to.right - to.left, to.bottom - to.top};
  if (const CImage* drawing = m_drawings.Get(m_nBitmapId, base, target))
    return DrawDrawing(item.hDC, *drawing, to, base);
  DrawBitmap(item);
}

void CMyButton::DrawDrawing(HDC dc, const CImage& drawing, const RECT& rect, UiSize base) const {
  drawing.Draw(dc, rect);
  ui::Brush edge(::CreateSolidBrush(kEdgeGrey));
  const int thickness = std::max(1, MulDivRounded(1, rect.bottom - rect.top, base.height));
  RECT frame = rect;
  for (int i = 0; i < thickness; ++i, ::InflateRect(&frame, -1, -1)) ::FrameRect(dc, &frame, edge.Get());
}

void CMyButton::DrawBitmap(const DRAWITEMSTRUCT& item) const {
  ui::Bitmap bitmap(::LoadBitmapW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_nBitmapId)));
  if (!bitmap) return DrawPlainFace(item.hDC, item.rcItem);
  ui::MemoryDC memory(item.hDC);
  ui::SelectObjectScope selection(memory.Get(), bitmap.Get());
  BITMAP info{};
  ::GetObjectW(bitmap.Get(), sizeof info, &info);
  RECT client{};
  ::GetClientRect(m_hWnd, &client);
  ui::Brush edge(::CreateSolidBrush(kEdgeGrey));
  ::FrameRect(memory.Get(), &client, edge.Get());
  const RECT& to = item.rcItem;
  ::StretchBlt(item.hDC, to.left, to.top, to.right - to.left, to.bottom - to.top, memory.Get(), 0, 0, info.bmWidth,
               info.bmHeight, SRCCOPY);
}

void CMyButton::DrawPlainFace(HDC dc, const RECT& rect) const {
  ui::FillSolid(dc, rect, RGB(255, 255, 255));
  ui::Brush edge(::CreateSolidBrush(kEdgeGrey));
  ::FrameRect(dc, &rect, edge.Get());
  HFONT font = reinterpret_cast<HFONT>(::SendMessageW(::GetParent(m_hWnd), WM_GETFONT, 0, 0));
  ui::SelectObjectScope selection(dc, font);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, RGB(0, 0, 0));
  RECT text = rect;
  ::DrawTextW(dc, m_strText.c_str(), static_cast<int>(m_strText.size()), &text,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void CMyButton::PublishCaption() const {
  if (m_strText.empty()) return;
  wchar_t current[64] = {};
  ::GetWindowTextW(m_hWnd, current, 64);
  // DefWindowProc stores the text without the button's repaint.
  if (m_strText != current) ::DefWindowProcW(m_hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(m_strText.c_str()));
}
