#include <windows.h>

#include "platform/window.h"

namespace plat {

intptr_t SendMessageW(Handle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  return ::SendMessageW(static_cast<HWND>(window), message, wParam, lParam);
}

bool SendMessageTimeoutW(Handle window, uint32_t message, uintptr_t wParam, const std::wstring& text,
                         uint32_t flags, uint32_t timeoutMs) {
  DWORD_PTR result = 0;
  return ::SendMessageTimeoutW(static_cast<HWND>(window), message, wParam, reinterpret_cast<LPARAM>(text.c_str()),
                               flags, timeoutMs, &result) != 0;
}

bool BringWindowToFront(const std::wstring& title) {
  HWND window = ::FindWindowW(nullptr, title.c_str());
  if (!window) return false;
  if (::IsIconic(window)) ::ShowWindow(window, SW_RESTORE);
  ::SetForegroundWindow(window);
  return true;
}

int32_t MessageBoxW(Handle owner, const std::wstring& text, const std::wstring& caption, uint32_t style) {
  return ::MessageBoxW(static_cast<HWND>(owner), text.c_str(), caption.c_str(), style);
}

}  // namespace plat
