#include <algorithm>

#include "platform/sim/machine.h"
#include "platform/window.h"

namespace plat {

intptr_t SendMessageW(Handle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  sim::Windows::Message sent{window, message, wParam, lParam};
  std::function<intptr_t(const sim::Windows::Message&)> procedure;
  {
    auto lock = sim::machine().Lock();
    if (sim::Enter("SendMessageW", std::to_wstring(message) + L" " + std::to_wstring(lParam)) && sim::Gone()) return 0;
    sim::machine().windows.sent.push_back(sent);
    procedure = sim::machine().windows.procedure;
  }
  return procedure ? procedure(sent) : 0;
}

bool SendMessageTimeoutW(Handle window, uint32_t message, uintptr_t wParam, const std::wstring& text,
                         uint32_t flags, uint32_t timeoutMs) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("SendMessageTimeoutW", text)) return false;
  sim::machine().spooler.broadcasts.push_back({window, message, wParam, text, flags, timeoutMs});
  return true;
}

bool BringWindowToFront(const std::wstring& title) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("FindWindowW", title)) return false;
  sim::Windows& windows = sim::machine().windows;
  if (std::find(windows.topLevel.begin(), windows.topLevel.end(), title) == windows.topLevel.end()) return false;
  windows.broughtToFront.push_back(title);
  return true;
}

int32_t MessageBoxW(Handle owner, const std::wstring& text, const std::wstring& caption, uint32_t style) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("MessageBoxW", text)) return 0;
  sim::machine().windows.messageBoxes.push_back({owner, text, caption, style});
  return kIdOkButton;
}

}  // namespace plat
