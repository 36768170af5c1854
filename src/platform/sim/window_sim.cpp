#include "platform/sim/machine.h"
#include "platform/window.h"

namespace plat {

bool SendMessageTimeoutW(Handle window, uint32_t message, uintptr_t wParam, const std::wstring& text,
                         uint32_t flags, uint32_t timeoutMs) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("SendMessageTimeoutW", text)) return false;
  sim::machine().spooler.broadcasts.push_back({window, message, wParam, text, flags, timeoutMs});
  return true;
}

}  // namespace plat
