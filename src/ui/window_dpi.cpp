#include "ui/window_dpi.h"

#include "ui/gdi.h"

namespace ui {

namespace {

// USER32 is loaded in every process with a window; its newer entries are
// looked up rather than imported, so that the program starts on Windows 7.
template <typename Fn>
Fn User32Entry(const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), name)));
}

constexpr DWORD kDialogDpiChangeDisableAll = 1;  // DDC_DISABLE_ALL

}  // namespace

int WindowDpi(HWND window) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = User32Entry<GetDpiForWindowFn>("GetDpiForWindow");
  if (getDpiForWindow) {
    if (UINT dpi = getDpiForWindow(window)) return static_cast<int>(dpi);
  }
  WindowDC screen(nullptr);
  return ::GetDeviceCaps(screen.Get(), LOGPIXELSY);
}

void KeepDialogFromScalingItself(HWND dialog) {
  using SetDialogDpiChangeBehaviorFn = BOOL(WINAPI*)(HWND, DWORD, DWORD);
  static const auto setBehaviour = User32Entry<SetDialogDpiChangeBehaviorFn>("SetDialogDpiChangeBehavior");
  if (setBehaviour) setBehaviour(dialog, kDialogDpiChangeDisableAll, kDialogDpiChangeDisableAll);
}

}  // namespace ui
