// CTextProgressCtrl: a progress bar that draws itself off-screen (flat sunken
// frame, bar or marquee block, and a text that changes colour where it
// crosses the bar) and answers the PBM_ messages itself, plus its own:
#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "ui/control.h"
#include "ui/gdi.h"
#include "ui/grid_mem_dc.h"
#include "ui/progress_model.h"

constexpr UINT TPBM_SETTEXTCOLOR = WM_USER + 102;     // 0x466
constexpr UINT TPBM_GETTEXTCOLOR = WM_USER + 103;
constexpr UINT TPBM_SETBARTEXTCOLOR = WM_USER + 104;
constexpr UINT TPBM_GETBARTEXTCOLOR = WM_USER + 105;
constexpr UINT TPBM_SHOWPERCENT = WM_USER + 106;      // 0x46A
constexpr UINT TPBM_SETTEXTALIGN = WM_USER + 107;
constexpr UINT TPBM_SETMARQUEEWIDTH = WM_USER + 108;  // 0x46C

class CTextProgressCtrl : public CControl {
 public:
  ~CTextProgressCtrl() override;
  const ProgressModel& Model() const { return m_model; }
  // The DPI the control is shown at; the next paint draws for it.
  void SetDpi(int dpi);

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  bool Marquee() const;
  bool Vertical() const;
  void Repaint() const;
  // After a position change (`oldBar`: the bar before it): with no text and
  // a paint before, only the pixels the move changes are invalidated, so
  // only they are drawn and copied to the screen; else the whole.
  void RepaintMove(const ProgressRect& oldBar);
  // The bar as a paint of the present state places it; empty before the first paint.
  ProgressRect BarRect() const;
  std::wstring TextToDraw() const;
  // Stores a colour or flag, repaints, and answers the old value.
  LRESULT Store(uint32_t& member, uint32_t value);
  LRESULT Store(int& member, int value);
  LRESULT SetMarquee(bool on, UINT interval);
  void OnTimer(UINT_PTR id);
  // WM_GETFONT of the control, else of its parent; nullptr for neither.
  HFONT ControlFont() const;
  void OnPaint();
  // Draws the flat sunken frame around `client` and answers its inside; a
  // paint whose covered rectangle lies inside the frame drawn before has
  // no frame pixel to draw and takes that inside.
  ProgressRect DrawFrame(HDC dc, const RECT& client, const RECT& covered);
  void DrawText(HDC dc, const ProgressRect& inner, const ProgressRegions& regions, HFONT font);

  ProgressModel m_model;
  ui::Font m_verticalFont;
  OffscreenSurface m_surface;
  std::optional<ProgressRect> m_lastInner;  // inside the frame, as the last paint drew it
  RECT m_lastClient{};                      // the drawable part the frame was drawn around
};
