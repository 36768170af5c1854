// CDlgIsClose: the quit question. "是" ends it with IDOK, "否" and Esc with IDCANCEL.
#pragma once
#include "ui/dialog_ex.h"
#include "ui/my_button.h"
#include "ui/picture_ctrl.h"

class CDlgIsClose : public CDialogEx {
 public:
  CDlgIsClose();

 protected:
  void DoDataExchange() override;
  BOOL OnInitDialog() override;
  bool OnCommand(int id, int code) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void OnDpiChanged() override;

 private:
  void PlaceControls() const;

  CMyButton m_btnYes;
  CMyButton m_btnNo;
  CPictureCtrl m_picQuestion;
};
