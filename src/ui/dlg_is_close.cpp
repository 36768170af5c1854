#include "ui/dlg_is_close.h"

#include "res/resource.h"
#include "ui/gdi.h"
#include "ui/skin.h"

CDlgIsClose::CDlgIsClose() : CDialogEx(IDD_ISCLOSE) {}

void CDlgIsClose::DoDataExchange() {
  Bind(IDC_ISCLOSE_YES, m_btnYes);
  Bind(IDC_ISCLOSE_NO, m_btnNo);
  Bind(IDC_ISCLOSE_QUESTION, m_picQuestion);
}

BOOL CDlgIsClose::OnInitDialog() {
  SizeAndCentre(160, 105);
  ::SetWindowTextW(m_hWnd, L"退出安装");
  m_btnYes.m_nBitmapId = IDB_YES;
  m_btnYes.m_strText = L"是";
  m_btnYes.MoveWindow(38, 60, 27, 27);
  m_btnNo.m_nBitmapId = IDB_NO;
  m_btnNo.m_strText = L"否";
  m_btnNo.MoveWindow(87, 60, 27, 27);
  m_picQuestion.LoadBitmapResource(::GetModuleHandleW(nullptr), IDB_QUIT_QUESTION, L"");
  m_picQuestion.MoveWindow(23, 25, 119, 29);
  return TRUE;
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
    ui::Pen pen(::CreatePen(PS_SOLID, skin::kFrameWidth, skin::kFrameColour));
    ui::DrawFrame(paint.Get(), client, pen.Get());
    result = 0;
    return true;
  }
  return false;
}
