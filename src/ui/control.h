// A child control bound to a member object: the object subclasses the
// control's window (SetWindowSubclass) and sees its messages first; the
// owning dialog reflects WM_DRAWITEM of the control to DrawItem.
#pragma once
#include <windows.h>

class CControl {
 public:
  CControl() = default;
  CControl(const CControl&) = delete;
  CControl& operator=(const CControl&) = delete;
  virtual ~CControl();

  // Subclasses `window`; a control already bound is unbound first. The
  // binding ends by itself when the window is destroyed.
  void Attach(HWND window);
  void Detach();
  HWND GetSafeHwnd() const { return m_hWnd; }

  // The owner-draw request of the parent, reflected by the owning dialog.
  virtual void DrawItem(const DRAWITEMSTRUCT& item);

  // Window helpers used by the owners.
  void MoveWindow(int x, int y, int width, int height) const;
  void ShowWindow(bool show) const;
  void SetWindowText(const wchar_t* text) const;

 protected:
  // Runs once the window is subclassed.
  virtual void OnAttached() {}
  // Every message of the window; the default passes it on.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

  HWND m_hWnd = nullptr;

 private:
  static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR self);
};
