#include "ui/dialog_ex.h"

#include "ui/window_dpi.h"

namespace {

// Messages whose dialog-procedure return value is the result itself rather
// than a TRUE with the result in DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT message) {
  switch (message) {
    case WM_CTLCOLORMSGBOX: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX: case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG: case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORSTATIC: case WM_COMPAREITEM:
    case WM_VKEYTOITEM: case WM_CHARTOITEM: case WM_QUERYDRAGICON: case WM_INITDIALOG:
      return true;
    default:
      return false;
  }
}

// Re-enables the owner on every way out of a modal run.
class OwnerDisabled {
 public:
  explicit OwnerDisabled(HWND owner) : m_owner(owner && ::IsWindowEnabled(owner) ? owner : nullptr) {
    if (m_owner) ::EnableWindow(m_owner, FALSE);
  }
  OwnerDisabled(const OwnerDisabled&) = delete;
  OwnerDisabled& operator=(const OwnerDisabled&) = delete;
  ~OwnerDisabled() { Restore(); }
  void Restore() {
    if (m_owner) ::EnableWindow(m_owner, TRUE);
    m_owner = nullptr;
  }

 private:
  HWND m_owner;
};

}  // namespace

CDialogEx::CDialogEx(UINT templateId) : m_templateId(templateId) {}

CDialogEx::~CDialogEx() {
  if (m_hWnd) ::DestroyWindow(m_hWnd);
}

INT_PTR CDialogEx::DoModal(HWND owner) {
  m_owner = owner;
  m_ended = false;
  m_result = -1;
  OwnerDisabled disabled(owner);
  HWND window = ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_templateId), owner,
                                     &CDialogEx::DialogProc, reinterpret_cast<LPARAM>(this));
  if (!window) return -1;
  if (!m_ended) {
    ::ShowWindow(window, SW_SHOW);
    if (!owner) ::SetForegroundWindow(window);
    RunLoop();
  }
  // The owner is enabled again before the dialog hides, so that the
  // activation goes back to it rather than to another program.
  disabled.Restore();
  ::ShowWindow(window, SW_HIDE);
  if (m_hWnd) ::DestroyWindow(m_hWnd);
  return m_result;
}

void CDialogEx::RunLoop() {
  MSG msg;
  while (!m_ended) {
    BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));  // for the loop further out
      break;
    }
    if (got == -1) break;
    if (PreTranslateMessage(msg) || ::IsDialogMessageW(m_hWnd, &msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

void CDialogEx::EndDialog(INT_PTR result) {
  m_result = result;
  m_ended = true;
  // A handler of a message sent from another thread runs inside GetMessageW,
  // which returns only for a posted message: wake the loop.
  if (m_hWnd) ::PostMessageW(m_hWnd, WM_NULL, 0, 0);
}

bool CDialogEx::OnCommand(int id, int) {
  if (id != IDOK && id != IDCANCEL) return false;
  EndDialog(id);
  return true;
}

void CDialogEx::Bind(int id, CControl& control) {
  control.Attach(GetDlgItem(id));
  m_bound.emplace_back(id, &control);
}

void CDialogEx::SizeAndCentre(UiSize size96) const {
  RECT area{};
  HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
  if (owner && !::IsIconic(owner)) {
    ::GetWindowRect(owner, &area);
  } else {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoW(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTOPRIMARY), &monitor);
    area = monitor.rcWork;
  }
  const UiSize size = ScaleToDpi(size96, m_nDpi);
  int x = area.left + (area.right - area.left - size.width) / 2;
  int y = area.top + (area.bottom - area.top - size.height) / 2;
  ::SetWindowPos(m_hWnd, nullptr, x, y, size.width, size.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CDialogEx::PlaceControl(const CControl& control, const UiRect& rect96) const {
  const UiRect r = ScaleToDpi(rect96, m_nDpi);
  control.MoveWindow(r.x, r.y, r.width, r.height);
}

void CDialogEx::PlaceControl(int id, const UiRect& rect96) const {
  const UiRect r = ScaleToDpi(rect96, m_nDpi);
  ::SetWindowPos(GetDlgItem(id), nullptr, r.x, r.y, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CDialogEx::TakeDpiChange(int dpi, const RECT& suggested) {
  m_nDpi = dpi;
  ::SetWindowPos(m_hWnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  OnDpiChanged();
}

INT_PTR CALLBACK CDialogEx::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<CDialogEx*>(lParam);
    ::SetWindowLongPtrW(window, DWLP_USER, lParam);
    self->m_hWnd = window;
  }
  auto* self = reinterpret_cast<CDialogEx*>(::GetWindowLongPtrW(window, DWLP_USER));
  if (!self) return FALSE;
  if (message == WM_NCDESTROY) {
    for (auto& [id, control] : self->m_bound) control->Detach();
    self->m_bound.clear();
    self->m_hWnd = nullptr;
    ::SetWindowLongPtrW(window, DWLP_USER, 0);
    return FALSE;
  }
  return self->Dispatch(message, wParam, lParam);
}

INT_PTR CDialogEx::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (message == WM_INITDIALOG) {
    m_bound.clear();
    m_nDpi = ui::WindowDpi(m_hWnd);
    if (LaysOutItself()) ui::KeepDialogFromScalingItself(m_hWnd);
    DoDataExchange();
    return OnInitDialog();
  }
  if (message == WM_DPICHANGED && LaysOutItself()) {
    TakeDpiChange(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
    ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, 0);
    return TRUE;
  }
  bool handled = OnMessage(message, wParam, lParam, result);
  if (!handled && message == WM_COMMAND) handled = OnCommand(LOWORD(wParam), HIWORD(wParam));
  if (!handled && message == WM_DRAWITEM) {
    auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    for (auto& [id, control] : m_bound) {
      if (item->CtlType != ODT_MENU && static_cast<UINT>(id) == item->CtlID) {
        control->DrawItem(*item);
        result = TRUE;
        handled = true;
        break;
      }
    }
  }
  if (!handled) return FALSE;
  if (ReturnsResultDirectly(message)) return static_cast<INT_PTR>(result);
  ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
  return TRUE;
}
