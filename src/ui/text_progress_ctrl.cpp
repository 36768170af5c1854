#include "ui/text_progress_ctrl.h"

#include <commctrl.h>

#include <string>
#include <utility>

#include "ui/grid_mem_dc.h"

namespace {

constexpr UINT_PTR kMarqueeTimer = 1;

COLORREF Resolve(uint32_t colour, int systemColour) {
  return colour == kClrDefault ? ::GetSysColor(systemColour) : colour;
}

RECT ToRect(const ProgressRect& r) { return {r.left, r.top, r.right, r.bottom}; }

// An opaque empty text fills with the background colour without a brush.
// The colour is left set: the next fill or the text sets its own.
void FillRegion(HDC dc, const ProgressRect& region, COLORREF colour) {
  ::SetBkColor(dc, colour);
  RECT rect = ToRect(region);
  ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

}  // namespace

CTextProgressCtrl::~CTextProgressCtrl() {
  if (m_hWnd) ::KillTimer(m_hWnd, kMarqueeTimer);
}

void CTextProgressCtrl::SetDpi(int dpi) {
  if (m_model.dpi == dpi) return;
  m_model.dpi = dpi;
  m_verticalFont.Reset();  // made again from the control's font of the new DPI
  m_lastInner.reset();
  ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

bool CTextProgressCtrl::Marquee() const { return ::GetWindowLongPtrW(m_hWnd, GWL_STYLE) & PBS_MARQUEE; }

bool CTextProgressCtrl::Vertical() const { return ::GetWindowLongPtrW(m_hWnd, GWL_STYLE) & PBS_VERTICAL; }

void CTextProgressCtrl::Repaint() const {
  ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

ProgressRect CTextProgressCtrl::BarRect() const {
  if (!m_lastInner || !m_model.HasRange()) return {};
  return m_model.LayOutRegions(*m_lastInner, Vertical(), Marquee()).bar;
}

std::wstring CTextProgressCtrl::TextToDraw() const {
  wchar_t windowText[256] = {};
  ::GetWindowTextW(m_hWnd, windowText, 256);
  return m_model.Text(windowText);
}

void CTextProgressCtrl::RepaintMove(const ProgressRect& oldBar) {
  if (!m_lastInner || !m_model.HasRange() || !TextToDraw().empty()) return Repaint();
  const ProgressRect changed = ChangedByBarMove(oldBar, BarRect(), *m_lastInner);
  if (changed.Width() <= 0 || changed.Height() <= 0) return;  // not a pixel changes
  const RECT rect = ToRect(changed);
  ::RedrawWindow(m_hWnd, &rect, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

LRESULT CTextProgressCtrl::Store(uint32_t& member, uint32_t value) {
  uint32_t old = std::exchange(member, value);
  Repaint();
  return old;
}

LRESULT CTextProgressCtrl::Store(int& member, int value) {
  int old = std::exchange(member, value);
  Repaint();
  return old;
}

LRESULT CTextProgressCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  ProgressModel& m = m_model;
  // A position change, then the repaint of what it changed.
  auto move = [this](auto change) {
    const ProgressRect oldBar = BarRect();
    LRESULT result = change();
    RepaintMove(oldBar);
    return result;
  };
  switch (message) {
    case PBM_SETRANGE: return m.SetRange16(static_cast<uint32_t>(lParam));
    case PBM_SETPOS: return move([&] { return m.SetPos(static_cast<int>(wParam), Marquee()); });
    case PBM_DELTAPOS: return move([&] { return m.DeltaPos(static_cast<int>(wParam), Marquee()); });
    case PBM_SETSTEP: return m.SetStep(static_cast<int>(wParam));
    case PBM_STEPIT: return move([&] { return m.StepIt(Marquee()); });
    case PBM_SETRANGE32: return m.SetRange32(static_cast<int>(wParam), static_cast<int>(lParam));
    case PBM_GETRANGE:
      if (auto* range = reinterpret_cast<PBRANGE*>(lParam)) *range = {m.minimum, m.maximum};
      return m.GetRange(wParam != 0);
    case PBM_GETPOS: return m.position;
    case PBM_SETBARCOLOR: return Store(m.barColour, static_cast<uint32_t>(lParam));
    case PBM_SETMARQUEE: return SetMarquee(wParam != 0, static_cast<UINT>(lParam));
    case PBM_GETBKCOLOR: return Resolve(m.bkColour, COLOR_BTNFACE);
    case PBM_GETBARCOLOR: return Resolve(m.barColour, COLOR_HIGHLIGHT);
    case PBM_SETBKCOLOR: return Store(m.bkColour, static_cast<uint32_t>(lParam));
    case TPBM_SETTEXTCOLOR: return Store(m.textColour, static_cast<uint32_t>(lParam));
    case TPBM_GETTEXTCOLOR: return Resolve(m.textColour, COLOR_WINDOWTEXT);
    case TPBM_SETBARTEXTCOLOR: return Store(m.barTextColour, static_cast<uint32_t>(lParam));
    case TPBM_GETBARTEXTCOLOR: return Resolve(m.barTextColour, COLOR_WINDOW);
    case TPBM_SHOWPERCENT: return Store(m.showPercent, wParam != 0);
    case TPBM_SETTEXTALIGN: return Store(m.textAlign, static_cast<int>(wParam));
    case TPBM_SETMARQUEEWIDTH:
      Store(m.marqueeWidth, static_cast<int>(wParam));
      return wParam;
    case WM_ERASEBKGND: return TRUE;
    case WM_PAINT: OnPaint(); return 0;
    case WM_TIMER: OnTimer(wParam); return 0;
    default: return Default(message, wParam, lParam);
  }
}

LRESULT CTextProgressCtrl::SetMarquee(bool on, UINT interval) {
  m_model.showPercent = 0;
  LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
  if (on) {
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, style | PBS_MARQUEE);
    ::SetTimer(m_hWnd, kMarqueeTimer, interval, nullptr);
  } else {
    ::KillTimer(m_hWnd, kMarqueeTimer);
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, style & ~PBS_MARQUEE);
  }
  Repaint();
  return on;
}

void CTextProgressCtrl::OnTimer(UINT_PTR id) {
  if (id != kMarqueeTimer) return;
  int current = static_cast<int>(::SendMessageW(m_hWnd, PBM_GETPOS, 0, 0));
  const ProgressRect oldBar = BarRect();
  m_model.SetPos(m_model.NextMarqueePosition(current), Marquee());
  RepaintMove(oldBar);
}

HFONT CTextProgressCtrl::ControlFont() const {
  HFONT font = reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
  return font ? font : reinterpret_cast<HFONT>(::SendMessageW(::GetParent(m_hWnd), WM_GETFONT, 0, 0));
}

// Every pixel of the surface is drawn: the frame, then the regions that fill
// its inside. Nothing is selected or set that the pixels do not need.
void CTextProgressCtrl::OnPaint() {
  if (!m_model.HasRange()) {
    ::ValidateRect(m_hWnd, nullptr);
    return;
  }
  ui::PaintDC paint(m_hWnd);
  RECT client{};
  ::GetClientRect(m_hWnd, &client);
  client.bottom -= m_model.UndrawnBottom();
  CGridMemDC surface(paint.Get(), client, m_surface);
  HDC dc = surface.Get();

  const ProgressRect inner = DrawFrame(dc, client, surface.Covered());
  const LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
  const bool vertical = style & PBS_VERTICAL;
  if (vertical && !m_verticalFont) {
    LOGFONTW description{};
    HFONT font = ControlFont();
    ::GetObjectW(font ? font : ::GetStockObject(DEFAULT_GUI_FONT), sizeof description, &description);
    description.lfEscapement = description.lfOrientation = 900;
    m_verticalFont.Reset(::CreateFontIndirectW(&description));
  }
  ProgressRegions regions = m_model.LayOutRegions(inner, vertical, style & PBS_MARQUEE);
  COLORREF background = Resolve(m_model.bkColour, COLOR_BTNFACE);
  if (regions.drawBefore) FillRegion(dc, regions.before, background);
  FillRegion(dc, regions.bar, Resolve(m_model.barColour, COLOR_HIGHLIGHT));
  if (regions.drawAfter) FillRegion(dc, regions.after, background);
  DrawText(dc, inner, regions, vertical ? m_verticalFont.Get() : nullptr);
}

ProgressRect CTextProgressCtrl::DrawFrame(HDC dc, const RECT& client, const RECT& covered) {
  if (m_lastInner && ::EqualRect(&client, &m_lastClient)) {
    const ProgressRect& in = *m_lastInner;
    if (covered.left >= in.left && covered.top >= in.top && covered.right <= in.right && covered.bottom <= in.bottom)
      return in;
  }
  RECT frame = client;
  ::DrawEdge(dc, &frame, EDGE_SUNKEN, BF_RECT | BF_ADJUST | BF_FLAT);
  m_lastClient = client;
  m_lastInner = ProgressRect{frame.left, frame.top, frame.right, frame.bottom};
  return *m_lastInner;
}

void CTextProgressCtrl::DrawText(HDC dc, const ProgressRect& inner, const ProgressRegions& regions, HFONT font) {
  const std::wstring text = TextToDraw();
  if (text.empty()) return;
  ui::SelectObjectScope controlFont(dc, ControlFont());
  ui::SelectObjectScope verticalFont(dc, font);
  SIZE extent{};
  ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  ProgressPoint at = m_model.TextOrigin(inner, extent.cx, extent.cy, font != nullptr);
  ::SetBkMode(dc, TRANSPARENT);
  RECT frame = ToRect(inner);
  // The same text up to three times, each clipped to one region and its colour.
  auto drawIn = [&](const ProgressRect& region, COLORREF colour) {
    RECT part = ToRect(region), clip{};
    if (!::IntersectRect(&clip, &part, &frame)) return;
    ::SetTextColor(dc, colour);
    ::ExtTextOutW(dc, at.x, at.y, ETO_CLIPPED, &clip, text.c_str(), static_cast<UINT>(text.size()), nullptr);
  };
  COLORREF textColour = Resolve(m_model.textColour, COLOR_WINDOWTEXT);
  if (regions.drawBefore) drawIn(regions.before, textColour);
  drawIn(regions.bar, Resolve(m_model.barTextColour, COLOR_WINDOW));
  if (regions.drawAfter) drawIn(regions.after, textColour);
}
