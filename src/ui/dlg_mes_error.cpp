#include "ui/dlg_mes_error.h"

#include "res/resource.h"
#include "ui/error_layout.h"
#include "ui/page_layout.h"
#include "ui/skin.h"

CDlgMesError::CDlgMesError() : CDialogEx(IDD_MESERROR) {}

void CDlgMesError::DoDataExchange() {
  Bind(IDC_MESERROR_OK, m_btnOk);
  Bind(IDC_MESERROR_HEADING, m_picHeading);
}

BOOL CDlgMesError::OnInitDialog() {
  SizeAndCentre(layout::kErrorWindow);
  // The drawn message is in the window text too, for screen readers and the taskbar.
  ::SetWindowTextW(m_hWnd, (L"安装失败：" + m_strMessage).c_str());
  // Without an owner the box may come from the install worker while the
  // wizard runs: it stays in front of it.
  if (!::GetWindow(m_hWnd, GW_OWNER))
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  m_btnOk.m_nBitmapId = IDB_OK;
  m_btnOk.m_strText = L"确认";
  m_picHeading.LoadBitmapResource(::GetModuleHandleW(nullptr), IDB_INSTALL_FAILED, L"");
  LayOut();
  return TRUE;
}

void CDlgMesError::LayOut() {
  UiRect button = layout::kErrorButton;
  button.y = LayOutErrorPage(m_strMessage).buttonY;
  PlaceControl(m_btnOk, button);
  PlaceControl(m_picHeading, layout::kErrorHeading);
  m_font = ui::CreateSkinFont(layout::kErrorFontHeight, skin::kFontFace, Dpi());
}

void CDlgMesError::OnDpiChanged() {
  LayOut();
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

bool CDlgMesError::OnCommand(int id, int code) {
  if (id == IDC_MESERROR_OK && code == BN_CLICKED) {
    EndDialog(IDOK);
    return true;
  }
  return CDialogEx::OnCommand(id, code);
}

bool CDlgMesError::OnMessage(UINT message, WPARAM, LPARAM, LRESULT& result) {
  if (message != WM_PAINT) return false;
  OnPaint();
  result = 0;
  return true;
}

void CDlgMesError::OnPaint() {
  ui::PaintDC paint(m_hWnd);
  HDC dc = paint.Get();
  RECT client{};
  ::GetClientRect(m_hWnd, &client);
  skin::PaintFramedPage(dc, client, Dpi());
  ui::SelectObjectScope font(dc, m_font.Get());
  ::SetBkMode(dc, OPAQUE);
  for (const ErrorTextRun& run : LayOutErrorPage(m_strMessage, Dpi()).runs)
    ::TextOutW(dc, run.x, run.y, run.text.c_str(), static_cast<int>(run.text.size()));
}

void PresentInstallError(int code) {
  CDlgMesError box;
  box.m_strMessage = std::to_wstring(code);
  box.DoModal();
}
