// The DPI a window is shown at, and the dialog manager's own DPI scaling
// turned off for dialogs that lay themselves out. Windows before 10 (1607)
// have no DPI per window: there every window has the screen's.
#pragma once
#include <windows.h>

namespace ui {

// GetDpiForWindow where Windows has it, else the screen's LOGPIXELSY.
int WindowDpi(HWND window);

// After a DPI change the dialog scales neither its size, its fonts nor its
// controls itself (Windows 10 1703 on; nothing to do before).
void KeepDialogFromScalingItself(HWND dialog);

}  // namespace ui
