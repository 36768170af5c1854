// CDlgExplain: the readme, "USB驱动安装说明.txt" beside the program, shown
// in lines of 30 characters on a framed white page, scrolled by the wheel.
#pragma once
#include <array>
#include <string>

#include "ui/dialog_ex.h"
#include "ui/gdi.h"
#include "ui/picture_ctrl.h"
#include "ui/readme_text.h"

class CDlgExplain : public CDialogEx {
 public:
  CDlgExplain();

 protected:
  void DoDataExchange() override;
  BOOL OnInitDialog() override;
  bool OnCommand(int id, int code) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void OnDpiChanged() override;

 private:
  // The font and the close glyph for the window's DPI.
  void LayOut();
  bool LoadReadme();
  int WidestLine() const;
  void FitFontToPage();
  void OnPaint();
  void OnMouseWheel(int delta);
  int PageLines() const;

  std::array<std::wstring, kReadmeMaxLines> m_lines;
  int m_bTextLoaded = 0;
  ui::Font m_font;
  int m_nFirstLine = 0;
  int m_nLineCount = 0;
  CPictureCtrl m_picClose;
};
