// CAboutDlg: the about box of the wizard's system menu; the resource does it
// all, and the system scales it with its dialog font.
#pragma once
#include "res/resource.h"
#include "ui/dialog_ex.h"

class CAboutDlg : public CDialogEx {
 public:
  CAboutDlg() : CDialogEx(IDD_ABOUTBOX) {}

 protected:
  bool LaysOutItself() const override { return false; }
};
