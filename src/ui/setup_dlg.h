// CSetupDlg: the installer's main window and main loop. The readme first, then
// four pages: model, port, confirmation and install. The install page hands
// an InstallJob to the worker and animates the bar until WM_INSTALL_DONE.
// What is decided without a window lives in CWizardFlow (wizard_flow.h).
#pragma once
#include <string>

#include "catalog/printer_info_file.h"
#include "ui/dialog_ex.h"
#include "ui/dlg_is_close.h"
#include "ui/gdi.h"
#include "ui/my_button.h"
#include "ui/picture_ctrl.h"
#include "ui/text_progress_ctrl.h"
#include "ui/wizard_flow.h"

class CSetupDlg : public CDialogEx {
 public:
  CSetupDlg();
  ~CSetupDlg() override;

 protected:
  void DoDataExchange() override;
  BOOL OnInitDialog() override;
  bool PreTranslateMessage(MSG& msg) override;
  bool OnCommand(int id, int code) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void OnDpiChanged() override;

 private:
  // The current page's controls and the logo, at the window's DPI.
  void PlaceControls() const;
  // The confirmation page's and the lists' fonts for the window's DPI.
  void MakeFonts();
  void SwitchPage(PageSwitch change);
  // Next, Finish and Alt+N: the next page, or the box for a missing selection.
  void StepForward();
  void ShowPage(int page, bool show);
  void ShowModelPage(bool show);
  void ShowPortPage(bool show);
  void ShowConfirmPage(bool show);
  void ShowInstallPage(bool show);

  void DetectPrinterModel();
  bool FillPortList();
  void OnEraseBackground(HDC dc);
  void OnTimer(UINT_PTR id);
  void OnInstallDone(bool succeeded);
  bool RefuseCloseWhileInstalling(UINT message, WPARAM wParam) const;
  void LoadPicture(CPictureCtrl& picture, UINT id) const;
  void InvalidateAll() const;

  HICON m_hIcon;
  CPictureCtrl m_picStatus;
  CPictureCtrl m_picHeading;
  CMyButton m_btnBack;
  CMyButton m_btnNext;
  CMyButton m_btnCancel;
  CMyButton m_btnFinish;
  CControl m_lstPort;
  CPrinterInfoFile m_printerInfo;
  std::wstring m_strModel;
  std::wstring m_strPort;
  CTextProgressCtrl m_progress;
  ui::Font m_fontText;
  ui::Font m_fontList;
  CDlgIsClose m_dlgIsClose;
  CWizardFlow m_flow;  // m_nPage and whether an install runs
  std::wstring m_strDetectedModel;
  CPictureCtrl m_picLogo;
  CControl m_lstModel;
  bool m_bUsbPortFound = true;  // the port page's status picture
  // The model list draws in the dialog's font, made for the DPI the window
  // was created at; after a DPI change, in this copy of it made for the new one.
  LOGFONTW m_dialogFont{};
  int m_nDialogFontDpi = kBaseDpi;
  ui::Font m_fontModelList;
};
