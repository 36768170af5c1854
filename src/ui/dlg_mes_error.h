// CDlgMesError: the installation-failed box. It shows the error code after
// its label, in lines of 21 characters, two hint lines and one OK button.
// It runs on its caller's thread: the UI thread, or the install worker's
// (then with a loop of its own, in front of the wizard).
#pragma once
#include <string>

#include "ui/dialog_ex.h"
#include "ui/gdi.h"
#include "ui/my_button.h"
#include "ui/picture_ctrl.h"

class CDlgMesError : public CDialogEx {
 public:
  CDlgMesError();
  std::wstring m_strMessage;

 protected:
  void DoDataExchange() override;
  BOOL OnInitDialog() override;
  bool OnCommand(int id, int code) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void OnDpiChanged() override;

 private:
  // The font and the controls for the window's DPI.
  void LayOut();
  void OnPaint();

  CMyButton m_btnOk;
  CPictureCtrl m_picHeading;
  ui::Font m_font;
};

// The engine's error presenter: shows `code` in the box and returns when it is closed.
void PresentInstallError(int code);
