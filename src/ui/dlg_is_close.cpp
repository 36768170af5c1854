#include "ui/dlg_is_close.h"

#include "res/resource.h"
#include "ui/gdi.h"
#include "ui/page_layout.h"
#include "ui/skin.h"

CDlgIsClose::CDlgIsClose() : CDialogEx(IDD_ISCLOSE) {}

void CDlgIsClose::DoDataExchange() {
  Bind(IDC_ISCLOSE_YES, m_btnYes);
  Bind(IDC_ISCLOSE_NO, m_btnNo);
  Bind(IDC_ISCLOSE_QUESTION, m_picQuestion);
}

BOOL CDlgIsClose::OnInitDialog() {
  SizeAndCentre(layout::kQuitWindow);
  ::SetWindowTextW(m_hWnd, L"退出安装");
  m_btnYes.m_nBitmapId = IDB_YES;
  m_btnYes.m_strText = L"是";
  m_btnNo.m_nBitmapId = IDB_NO;
  m_btnNo.m_strText = L"否";
  m_picQuestion.LoadBitmapResource(::GetModuleHandleW(nullptr), IDB_QUIT_QUESTION, L"");
  PlaceControls();
  return TRUE;
}

void CDlgIsClose::PlaceControls() const {
  for (const ControlPlacement& placement : QuitQuestionPlacements()) PlaceControl(placement.id, placement.rect);
}

void CDlgIsClose::OnDpiChanged() {
  PlaceControls();
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

bool CDlgIsClose::OnCommand(int id, int code) {
  if (code == BN_CLICKED && (id == IDC_ISCLOSE_YES || id == IDC_ISCLOSE_NO)) {
    EndDialog(id == IDC_ISCLOSE_YES ? IDOK : IDCANCEL);
    return true;
  }
  return CDialogEx::OnCommand(id, code);
}

bool CDlgIsClose::OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  RECT client{};
  ::GetClientRect(m_hWnd, &client);
  if (message == WM_ERASEBKGND) {
    ui::FillSolid(reinterpret_cast<HDC>(wParam), client, RGB(255, 255, 255));
    result = TRUE;
    return true;
  }
  if (message == WM_PAINT) {
    ui::PaintDC paint(m_hWnd);
    ui::Pen pen = skin::CreateFramePen(Dpi());
    ui::DrawFrame(paint.Get(), client, pen.Get());
    result = 0;
    return true;
  }
  return false;
}
