// CDialogEx: runs a dialog resource modally with a message loop of its own.
//
// Usage:
//   class CMyDlg : public CDialogEx {
//    public:
//     CMyDlg() : CDialogEx(IDD_MY) {}
//    protected:
//     void DoDataExchange() override { Bind(1023, m_yes); }       // controls by id
//     BOOL OnInitDialog() override { ...; return TRUE; }          // TRUE: default focus
//     bool PreTranslateMessage(MSG& msg) override;                // true: consumed
//     bool OnCommand(int id, int code) override {                 // WM_COMMAND
//       if (id == 1023 && code == BN_CLICKED) { EndDialog(IDOK); return true; }
//       return CDialogEx::OnCommand(id, code);                   // IDOK/IDCANCEL end it
//     }
//     bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;  // others
//     CMyButton m_yes;
//   };
//   INT_PTR result = CMyDlg().DoModal(ownerOrNull);
//
// DoModal disables the owner, creates the dialog, binds the controls
// (DoDataExchange), runs OnInitDialog, shows the dialog and loops until
// EndDialog, offering each message to PreTranslateMessage before
// IsDialogMessageW. EndDialog may be called at any time on the dialog's
// thread: during OnInitDialog (the dialog is then never shown), from any
// handler, or from a handler of a message sent from another thread.
// WM_DRAWITEM of a bound control goes to that control's DrawItem.
// The same object may run any number of times; each run starts from the
// resource again.
// Dialogs lay themselves out in 96-DPI pixels (SizeAndCentre, PlaceControl)
// and are shown at their window's DPI; on WM_DPICHANGED the window takes the
// suggested rectangle and OnDpiChanged lays it out again. A dialog that
// answers false to LaysOutItself is left to the system's dialog scaling.
#pragma once
#include <windows.h>

#include <vector>

#include "ui/control.h"
#include "ui/dpi_scale.h"

class CDialogEx {
 public:
  explicit CDialogEx(UINT templateId);
  CDialogEx(const CDialogEx&) = delete;
  CDialogEx& operator=(const CDialogEx&) = delete;
  virtual ~CDialogEx();

  // Runs the dialog over `owner` (none: a top-level window of its own) and
  // returns the value given to EndDialog, or -1 when it could not be created.
  INT_PTR DoModal(HWND owner = nullptr);
  void EndDialog(INT_PTR result);

  HWND GetSafeHwnd() const { return m_hWnd; }
  HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }

 protected:
  virtual void DoDataExchange() {}
  virtual BOOL OnInitDialog() { return TRUE; }
  virtual bool PreTranslateMessage(MSG&) { return false; }
  // The default ends the dialog on IDOK and IDCANCEL (Enter, Esc, WM_CLOSE).
  virtual bool OnCommand(int id, int code);
  // Any message before the base's own handling; true with `result` when handled.
  virtual bool OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

  // Binds control `id` of the dialog to `control` for this run.
  void Bind(int id, CControl& control);
  // Sizes the window (its 96-DPI size scaled) and centres it over its owner, or over the screen.
  void SizeAndCentre(UiSize size96) const;
  // Moves and sizes a control to its 96-DPI rectangle scaled.
  void PlaceControl(const CControl& control, const UiRect& rect96) const;
  void PlaceControl(int id, const UiRect& rect96) const;
  int Dpi() const { return m_nDpi; }
  int Scale(int value96) const { return ScaleToDpi(value96, m_nDpi); }

  virtual bool LaysOutItself() const { return true; }
  // After a DPI change, the window already at its new rectangle: fonts and placements again.
  virtual void OnDpiChanged() {}

  HWND m_hWnd = nullptr;

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  void RunLoop();
  void TakeDpiChange(int dpi, const RECT& suggested);

  UINT m_templateId;
  HWND m_owner = nullptr;
  bool m_ended = false;
  INT_PTR m_result = -1;
  int m_nDpi = kBaseDpi;
  std::vector<std::pair<int, CControl*>> m_bound;
};
