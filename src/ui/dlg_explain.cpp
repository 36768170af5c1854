#include "ui/dlg_explain.h"

#include <algorithm>

#include "base/executable_dir.h"
#include "report/app_title.h"
#include "res/resource.h"
#include "ui/page_layout.h"
#include "ui/skin.h"

namespace {

std::wstring ReadmePath() { return GetExecutableDirectory() + kReadmeFileName; }

}  // namespace

CDlgExplain::CDlgExplain() : CDialogEx(IDD_EXPLAIN) {}

void CDlgExplain::DoDataExchange() { Bind(IDC_EXPLAIN_CLOSE, m_picClose); }

BOOL CDlgExplain::OnInitDialog() {
  SizeAndCentre(layout::kReadmeWindow);
  ::SetWindowTextW(m_hWnd, kReadmeTitle);
  m_bTextLoaded = LoadReadme();
  LayOut();
  m_picClose.LoadBitmapResource(::GetModuleHandleW(nullptr), IDB_CLOSE_CROSS, L"");
  return TRUE;
}

void CDlgExplain::LayOut() {
  m_font = ui::CreatePointFont(layout::kReadmeFontTenths, skin::kFontFace, Dpi());
  FitFontToPage();
  RECT client{};
  ::GetClientRect(m_hWnd, &client);
  const UiRect close = ReadmeClosePlacement(client.right, Dpi());
  m_picClose.MoveWindow(close.x, close.y, close.width, close.height);
}

void CDlgExplain::OnDpiChanged() {
  LayOut();
  ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

bool CDlgExplain::LoadReadme() {
  std::vector<std::wstring> lines;
  if (!LoadReadmeLines(ReadmePath(), lines)) return false;
  std::fill(m_lines.begin(), m_lines.end(), std::wstring());
  std::move(lines.begin(), lines.end(), m_lines.begin());
  m_nLineCount = static_cast<int>(lines.size());
  m_nFirstLine = 0;
  return true;
}

int CDlgExplain::WidestLine() const {
  ui::WindowDC screen(m_hWnd);
  // The font goes back out of the DC with this scope, before anyone may
  // replace (and so delete) it.
  ui::SelectObjectScope font(screen.Get(), m_font.Get());
  int widest = 0;
  for (int i = 0; i < m_nLineCount; ++i) {
    SIZE extent{};
    ::GetTextExtentPoint32W(screen.Get(), m_lines[i].c_str(), static_cast<int>(m_lines[i].size()), &extent);
    widest = std::max(widest, static_cast<int>(extent.cx));
  }
  return widest;
}

void CDlgExplain::FitFontToPage() {
  RECT client{};
  ::GetClientRect(m_hWnd, &client);
  int room = client.right - Scale(kReadmeFrameInset + kReadmeFramePadding) - Scale(kReadmeTextLeft);
  int widest = WidestLine();
  // Thirty wide characters at 11.5 points are wider than the page: a
  // smaller font keeps every character of the readme inside the frame.
  if (widest > room && room > 0)
    m_font = ui::CreatePointFont(layout::kReadmeFontTenths * room / widest, skin::kFontFace, Dpi());
}

bool CDlgExplain::OnCommand(int id, int code) {
  if (id == IDC_EXPLAIN_CLOSE && code == STN_CLICKED) {
    ::SendMessageW(m_hWnd, WM_CLOSE, 0, 0);
    return true;
  }
  return CDialogEx::OnCommand(id, code);
}

bool CDlgExplain::OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  result = 0;
  switch (message) {
    case WM_PAINT: OnPaint(); return true;
    case WM_ERASEBKGND: result = TRUE; return true;  // the paint covers everything
    case WM_MOUSEWHEEL: OnMouseWheel(GET_WHEEL_DELTA_WPARAM(wParam)); return true;
    default: return false;
  }
}

int CDlgExplain::PageLines() const {
  RECT client{};
  ::GetClientRect(m_hWnd, &client);
  return ReadmePageLines(client.bottom, Dpi());
}

void CDlgExplain::OnMouseWheel(int delta) {
  int first = ScrollReadme(m_nFirstLine, m_nLineCount, PageLines(), delta);
  if (first == m_nFirstLine) return;
  m_nFirstLine = first;
  ::InvalidateRect(m_hWnd, nullptr, FALSE);
  ::UpdateWindow(m_hWnd);
}

void CDlgExplain::OnPaint() {
  ui::PaintDC paint(m_hWnd);
  RECT client{};
  ::GetClientRect(m_hWnd, &client);
  ui::MemoryDC memory(paint.Get());
  ui::Bitmap surface(::CreateCompatibleBitmap(paint.Get(), client.right, client.bottom));
  ui::SelectObjectScope bitmap(memory.Get(), surface.Get());
  ui::SelectObjectScope font(memory.Get(), m_font.Get());
  HDC dc = memory.Get();

  skin::PaintFramedPage(dc, client, Dpi());
  ui::Pen pen = skin::CreateFramePen(Dpi());
  ui::SelectObjectScope penSelection(dc, pen.Get());
  const int inset = Scale(kReadmeFrameInset);
  POINT inner[] = {{inset, inset}, {client.right - inset, inset}, {client.right - inset, client.bottom - inset},
                   {inset, client.bottom - inset}, {inset, inset - 1}};
  ::Polyline(dc, inner, 5);

  if (m_bTextLoaded) {
    ::SetBkMode(dc, TRANSPARENT);
    // Only whole lines, inside the inner frame.
    const int frame = Scale(kReadmeFrameInset + 2), frameEnd = Scale(kReadmeFrameInset + 1);
    RECT page{frame, frame, client.right - frameEnd, client.bottom - frameEnd};
    for (int k = 0; k < PageLines() && m_nFirstLine + k < m_nLineCount; ++k) {
      const std::wstring& line = m_lines[m_nFirstLine + k];
      const UiPoint at = ReadmeLineOrigin(k, Dpi());
      ::ExtTextOutW(dc, at.x, at.y, ETO_CLIPPED, &page, line.c_str(), static_cast<UINT>(line.size()), nullptr);
    }
  }
  ::BitBlt(paint.Get(), 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
}
