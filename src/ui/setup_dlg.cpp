#include "ui/setup_dlg.h"

#include <commctrl.h>

#include <initializer_list>
#include <vector>

#include "discovery/model_detection.h"
#include "discovery/port_list.h"
#include "engine/install_road.h"
#include "engine/printer_queue.h"
#include "engine/protected_print.h"
#include "report/app_title.h"
#include "res/resource.h"
#include "ui/about_dlg.h"
#include "ui/dlg_explain.h"
#include "ui/page_layout.h"

namespace {

constexpr UINT_PTR kProgressTimer = 129;
constexpr UINT kProgressPeriodMs = 30;
constexpr UINT kAboutCommand = 0x10;
constexpr COLORREF kBackground = RGB(230, 230, 230);
constexpr COLORREF kBarColour = 0x00A14E00;
const wchar_t kSkinFace[] = L"方正兰亭黑_GBK";
const wchar_t kNoUsbPortText[] =
    L"没有检测到与打印机连接的USB端口，请将打印机USB线连接到\r\n电脑，并打开电源，然后返回“上一步”重新检测。如果您的打\r\n"
    L"印机是并口打印机，请根据实际情况选择端口（默认LPT1：），\r\n并按“下一步”继续。";

// Refills a list box with `rows` at their indexes (so a sorted list keeps
// the given order) and selects `selected`, or nothing for -1.
void FillListBox(HWND list, const std::vector<std::wstring>& rows, int selected) {
  ::SendMessageW(list, LB_RESETCONTENT, 0, 0);
  for (size_t i = 0; i < rows.size(); ++i)
    ::SendMessageW(list, LB_INSERTSTRING, i, reinterpret_cast<LPARAM>(rows[i].c_str()));
  ::SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

// The selected line's text; nothing when the list has no selection.
bool SelectedLine(HWND list, std::wstring& line) {
  LRESULT index = ::SendMessageW(list, LB_GETCURSEL, 0, 0);
  if (index == LB_ERR) return false;
  LRESULT length = ::SendMessageW(list, LB_GETTEXTLEN, index, 0);
  if (length == LB_ERR) return false;
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  ::SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  line = text;
  return true;
}

bool HasSelection(const CControl& list) {
  return ::SendMessageW(list.GetSafeHwnd(), LB_GETCURSEL, 0, 0) != LB_ERR;
}

void Hide(std::initializer_list<const CControl*> controls) {
  for (const CControl* control : controls) control->ShowWindow(false);
}

void Show(std::initializer_list<const CControl*> controls) {
  for (const CControl* control : controls) control->ShowWindow(true);
}

}  // namespace

CSetupDlg::CSetupDlg()
    : CDialogEx(IDD_QUILLEXSETUP_DIALOG),
      m_hIcon(::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME))) {}

CSetupDlg::~CSetupDlg() = default;

void CSetupDlg::DoDataExchange() {
  Bind(IDC_STATUS_PICTURE, m_picStatus);
  Bind(IDC_HEADING_PICTURE, m_picHeading);
  Bind(IDC_BACK, m_btnBack);
  Bind(IDC_NEXT, m_btnNext);
  Bind(IDC_CANCEL, m_btnCancel);
  Bind(IDC_FINISH, m_btnFinish);
  Bind(IDC_PORT_LIST, m_lstPort);
  Bind(IDC_PROGRESS, m_progress);
  Bind(IDC_LOGO, m_picLogo);
  Bind(IDC_MODEL_LIST, m_lstModel);
}

BOOL CSetupDlg::OnInitDialog() {
  wchar_t about[128] = {};
  if (::LoadStringW(::GetModuleHandleW(nullptr), IDS_ABOUTBOX, about, 128) > 0) {
    HMENU menu = ::GetSystemMenu(m_hWnd, FALSE);
    ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu, MF_STRING, kAboutCommand, about);
  }
  ::SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
  ::SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
  SizeAndCentre(layout::kWizardWindow);
  HGDIOBJ dialogFont = reinterpret_cast<HGDIOBJ>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
  if (dialogFont) ::GetObjectW(dialogFont, sizeof m_dialogFont, &m_dialogFont);
  m_nDialogFontDpi = Dpi();
  MakeFonts();
  m_progress.SetDpi(Dpi());
  m_btnBack.m_strText = L"上一步";
  m_btnNext.m_strText = L"下一步";
  m_btnCancel.m_strText = L"取消";
  m_btnFinish.m_strText = L"完成";

  CDlgExplain().DoModal(nullptr);  // the readme, while the wizard is still hidden

  m_flow.Entered(0);
  ShowModelPage(true);
  m_btnBack.ShowWindow(false);
  PlaceControl(m_picLogo, layout::kLogo);
  m_picLogo.LoadFromResource(IDB_LOGO, L"PNG");
  ::SetWindowTextW(m_hWnd, kAppTitle);
  return TRUE;
}

void CSetupDlg::LoadPicture(CPictureCtrl& picture, UINT id) const {
  picture.LoadBitmapResource(::GetModuleHandleW(nullptr), id, L"");
}

void CSetupDlg::InvalidateAll() const { ::InvalidateRect(m_hWnd, nullptr, TRUE); }

void CSetupDlg::PlaceControls() const {
  PlaceControl(m_picLogo, layout::kLogo);
  for (const ControlPlacement& placement : WizardPagePlacements(m_flow.Page(), m_bUsbPortFound))
    PlaceControl(placement.id, placement.rect);
}

void CSetupDlg::MakeFonts() {
  m_fontText = ui::CreateSkinFont(layout::kConfirmFontHeight, kSkinFace, Dpi());
  // Each list gets its new font before the one it drew with is deleted.
  ui::Font list = ui::CreatePointFont(layout::kListFontTenths, kSkinFace, Dpi());
  ::SendMessageW(m_lstPort.GetSafeHwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(list.Get()), TRUE);
  m_fontList = std::move(list);
  ui::Font model;
  if (Dpi() != m_nDialogFontDpi && m_dialogFont.lfHeight) {
    LOGFONTW font = m_dialogFont;
    font.lfHeight = RescaleBetweenDpis(font.lfHeight, m_nDialogFontDpi, Dpi());
    font.lfWidth = RescaleBetweenDpis(font.lfWidth, m_nDialogFontDpi, Dpi());
    model.Reset(::CreateFontIndirectW(&font));
  }
  WPARAM modelFont = model ? reinterpret_cast<WPARAM>(model.Get()) : ::SendMessageW(m_hWnd, WM_GETFONT, 0, 0);
  ::SendMessageW(m_lstModel.GetSafeHwnd(), WM_SETFONT, modelFont, TRUE);
  m_fontModelList = std::move(model);
}

void CSetupDlg::OnDpiChanged() {
  MakeFonts();
  m_progress.SetDpi(Dpi());
  PlaceControls();
  InvalidateAll();
}

void CSetupDlg::SwitchPage(PageSwitch change) {
  if (change.leave) ShowPage(change.leave, false);
  if (change.enter) ShowPage(change.enter, true);
}

void CSetupDlg::StepForward() {
  auto prompt = m_flow.MissingSelection(HasSelection(m_lstModel), HasSelection(m_lstPort));
  if (!prompt) prompt = m_flow.RefusedInstall(ProtectedPrintModeOn());
  if (prompt) {
    ::MessageBoxW(m_hWnd, prompt->text.c_str(), prompt->title.c_str(), MB_OK | MB_ICONWARNING);
    return;
  }
  SwitchPage(m_flow.Next());
}

void CSetupDlg::ShowPage(int page, bool show) {
  switch (page) {
    case ModelPage: return ShowModelPage(show);
    case PortPage: return ShowPortPage(show);
    case ConfirmPage: return ShowConfirmPage(show);
    case InstallPage: return ShowInstallPage(show);
  }
}

void CSetupDlg::ShowModelPage(bool show) {
  HWND list = m_lstModel.GetSafeHwnd();
  if (!show) {
    Hide({&m_picStatus, &m_picHeading, &m_btnBack, &m_btnNext, &m_btnCancel, &m_lstModel});
    std::wstring line;
    if (SelectedLine(list, line)) m_strModel = ModelFromListLine(line);
    return;
  }
  m_flow.Entered(ModelPage);
  PlaceControls();
  LoadPicture(m_picHeading, IDB_MODEL_HEADING);
  m_picHeading.ShowWindow(true);
  DetectPrinterModel();
  m_btnBack.m_nBitmapId = IDB_BACK;
  m_btnNext.m_nBitmapId = IDB_NEXT;
  m_btnCancel.m_nBitmapId = IDB_CANCEL;
  Hide({&m_btnBack});  // placed, not shown on this page
  Show({&m_btnNext, &m_btnCancel, &m_lstModel});
}

void CSetupDlg::DetectPrinterModel() {
  ModelListRows page = ::DetectPrinterModel(m_printerInfo, m_hWnd, m_strDetectedModel);
  if (!page.configurationMissing) FillListBox(m_lstModel.GetSafeHwnd(), page.rows, page.selected);
}

bool CSetupDlg::FillPortList() {
  PortListRows page = ::FillPortList(m_hWnd);
  FillListBox(m_lstPort.GetSafeHwnd(), page.rows, page.selected);
  return page.result;
}

void CSetupDlg::ShowPortPage(bool show) {
  if (!show) {
    Hide({&m_btnBack, &m_btnNext, &m_btnCancel, &m_picStatus, &m_lstPort});
    SelectedLine(m_lstPort.GetSafeHwnd(), m_strPort);
    return;
  }
  m_flow.Entered(PortPage);
  m_btnNext.m_nBitmapId = IDB_NEXT;
  m_bUsbPortFound = FillPortList();
  PlaceControls();
  Show({&m_btnBack, &m_btnNext, &m_btnCancel});
  LoadPicture(m_picStatus, m_bUsbPortFound ? IDB_USB_PORT_FOUND : IDB_NO_USB_PORT);
  m_picStatus.ShowWindow(true);
  if (!m_bUsbPortFound) ::MessageBoxW(m_hWnd, kNoUsbPortText, L"安装提示", MB_OK | MB_ICONHAND);
  ::SendMessageW(m_lstPort.GetSafeHwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(m_fontList.Get()), TRUE);
  m_lstPort.ShowWindow(true);
}

void CSetupDlg::ShowConfirmPage(bool show) {
  if (!show) {
    Hide({&m_btnBack, &m_btnFinish, &m_btnCancel, &m_picStatus, &m_picHeading});
    InvalidateAll();
    return;
  }
  m_flow.Entered(ConfirmPage);
  m_btnFinish.m_nBitmapId = IDB_FINISH;
  PlaceControls();
  Show({&m_btnBack, &m_btnFinish, &m_btnCancel});
  LoadPicture(m_picStatus, IDB_CONFIRM_LABELS);
  m_picStatus.ShowWindow(true);
  LoadPicture(m_picHeading, IDB_CONFIRM_NOTE);
  m_picHeading.ShowWindow(true);
  InvalidateAll();
}

void CSetupDlg::ShowInstallPage(bool show) {
  if (!show) {
    Hide({&m_progress, &m_picStatus});
    return;
  }
  if (!m_flow.BeginInstall()) return;  // one worker at a time
  m_flow.Entered(InstallPage);
  // Closing now would leave the spooler stopped or a driver half registered.
  ::EnableMenuItem(::GetSystemMenu(m_hWnd, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
  PlaceControls();
  m_progress.ShowWindow(true);
  LoadPicture(m_picStatus, IDB_INSTALLING);
  m_picStatus.ShowWindow(true);
  auto job = std::make_unique<InstallJob>(MakeInstallJob(m_hWnd, m_strModel, m_strPort, m_strDetectedModel));
  HWND bar = m_progress.GetSafeHwnd();
  ::SendMessageW(bar, TPBM_SHOWPERCENT, 0, 0);
  ::SetWindowTextW(bar, L"");
  ::SendMessageW(bar, PBM_SETBARCOLOR, 0, kBarColour);
  ::SetTimer(m_hWnd, kProgressTimer, kProgressPeriodMs, nullptr);
  InvalidateAll();
  StartInstallWorker(std::move(job));
}

void CSetupDlg::OnEraseBackground(HDC dc) {
  RECT client{};
  ::GetClientRect(m_hWnd, &client);
  RECT fill{client.left + 1, client.top, client.right - 1, client.bottom - 1};
  ui::FillSolid(dc, fill, kBackground);
  ::SetBkMode(dc, TRANSPARENT);
  if (m_flow.Page() != ConfirmPage) return;
  ui::SelectObjectScope font(dc, m_fontText.Get());
  std::wstring model = BrandedModelName(m_strModel);
  const UiPoint modelAt = ScaleToDpi(layout::kConfirmModelText, Dpi());
  const UiPoint portAt = ScaleToDpi(layout::kConfirmPortText, Dpi());
  ::TextOutW(dc, modelAt.x, modelAt.y, model.c_str(), static_cast<int>(model.size()));
  ::TextOutW(dc, portAt.x, portAt.y, m_strPort.c_str(), static_cast<int>(m_strPort.size()));
}

void CSetupDlg::OnTimer(UINT_PTR id) {
  if (id != kProgressTimer && s_nHoldTicks == 0) return;
  HWND bar = m_progress.GetSafeHwnd();
  int position = static_cast<int>(::SendMessageW(bar, PBM_GETPOS, 0, 0));
  ProgressTick tick = AdvanceProgressAnimation(position);
  if (tick.redrawOnly) ::RedrawWindow(bar, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  if (tick.newPosition) ::SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(*tick.newPosition), 0);
}

void CSetupDlg::OnInstallDone(bool succeeded) {
  ::KillTimer(m_hWnd, kProgressTimer);
  HWND bar = m_progress.GetSafeHwnd();
  ::SendMessageW(bar, PBM_SETMARQUEE, 0, 0);
  ::SendMessageW(bar, PBM_SETPOS, 0, 0);
  // The worker waits inside its report until this returns: the wizard stays
  // unclosable while the success box is up.
  if (succeeded) ::MessageBoxW(m_hWnd, L"驱动安装成功", L"Tovanta", MB_OK | MB_SYSTEMMODAL);
  m_flow.InstallDone();
  EndDialog(IDOK);
}

// The close box, Alt+F4, the system menu's Close, WM_CLOSE and IDCANCEL all
// end the wizard, except while the worker runs.
bool CSetupDlg::RefuseCloseWhileInstalling(UINT message, WPARAM wParam) const {
  if (m_flow.MayClose()) return false;
  return message == WM_CLOSE || (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE) ||
         (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL);
}

bool CSetupDlg::PreTranslateMessage(MSG& msg) {
  if (msg.hwnd != m_hWnd && !::IsChild(m_hWnd, msg.hwnd)) return false;
  switch (m_flow.ClassifyKey(msg.message, msg.wParam, msg.lParam)) {
    case WizardKey::Pass: return false;
    case WizardKey::Consume: return true;
    case WizardKey::Next: StepForward(); return true;
    case WizardKey::Back: SwitchPage(m_flow.Back()); return true;
  }
  return false;
}

bool CSetupDlg::OnCommand(int id, int code) {
  if (code != BN_CLICKED) return CDialogEx::OnCommand(id, code);
  switch (id) {
    case IDC_BACK: SwitchPage(m_flow.Back()); return true;
    case IDC_NEXT:
    case IDC_FINISH: StepForward(); return true;
    case IDC_CANCEL:
      if (m_dlgIsClose.DoModal(m_hWnd) == IDOK) ::SendMessageW(m_hWnd, WM_CLOSE, 0, 0);
      return true;
  }
  return CDialogEx::OnCommand(id, code);
}

bool CSetupDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (RefuseCloseWhileInstalling(message, wParam)) return true;
  switch (message) {
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) != kAboutCommand) return false;
      CAboutDlg().DoModal(m_hWnd);
      return true;
    case WM_PAINT:
      if (!::IsIconic(m_hWnd)) return false;
      {
        ui::PaintDC paint(m_hWnd);
        ::SendMessageW(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(paint.Get()), 0);
        RECT client{};
        ::GetClientRect(m_hWnd, &client);
        int x = (client.right - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
        int y = (client.bottom - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
        ::DrawIcon(paint.Get(), x, y, m_hIcon);
      }
      return true;
    case WM_QUERYDRAGICON:
      result = reinterpret_cast<LRESULT>(m_hIcon);
      return true;
    case WM_ERASEBKGND:
      OnEraseBackground(reinterpret_cast<HDC>(wParam));
      result = TRUE;
      return true;
    case WM_LBUTTONDOWN:
      ::SendMessageW(m_hWnd, WM_SYSCOMMAND, 0xF012, 0);  // drag the window by any free spot
      return true;
    case WM_TIMER:
      OnTimer(wParam);
      return false;
    case WM_INSTALL_DONE:
      OnInstallDone(lParam != 0);
      result = 0;
      return true;
  }
  return false;
}
