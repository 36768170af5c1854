// Window messages sent by the engine.
#pragma once
#include <cstdint>
#include <string>

#include "platform/handle.h"

namespace plat {

inline Handle const kHwndBroadcast = reinterpret_cast<Handle>(static_cast<intptr_t>(0xFFFF));
constexpr uint32_t kWmDevModeChange = 0x1B;
constexpr uint32_t kSmtoNormal = 0;

// SendMessageW: returns when the window's thread has handled the message.
intptr_t SendMessageW(Handle window, uint32_t message, uintptr_t wParam, intptr_t lParam);

// SendMessageTimeoutW with a text as lParam (as WM_DEVMODECHANGE carries it).
bool SendMessageTimeoutW(Handle window, uint32_t message, uintptr_t wParam, const std::wstring& text,
                         uint32_t flags, uint32_t timeoutMs);

}  // namespace plat
