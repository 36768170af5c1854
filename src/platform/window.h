// Window messages, and message boxes.
#pragma once
#include <cstdint>
#include <string>

#include "platform/handle.h"

namespace plat {

inline Handle const kHwndBroadcast = reinterpret_cast<Handle>(static_cast<intptr_t>(0xFFFF));
constexpr uint32_t kWmDevModeChange = 0x1B;
constexpr uint32_t kSmtoNormal = 0;
constexpr uint32_t kWmClose = 0x10;

// MessageBoxW styles and answers.
constexpr uint32_t kMbIconError = 0x10;
constexpr uint32_t kMbIconInformation = 0x40;
constexpr int32_t kIdOkButton = 1;

// SendMessageW: returns when the window's thread has handled the message.
intptr_t SendMessageW(Handle window, uint32_t message, uintptr_t wParam, intptr_t lParam);

// SendMessageTimeoutW with a text as lParam (as WM_DEVMODECHANGE carries it).
bool SendMessageTimeoutW(Handle window, uint32_t message, uintptr_t wParam, const std::wstring& text,
                         uint32_t flags, uint32_t timeoutMs);

// FindWindowW by title; the window found is restored when minimised and
// brought to the front. False when no top-level window has that title.
bool BringWindowToFront(const std::wstring& title);

// MessageBoxW: shows the box modally; returns the button chosen (0 on failure).
int32_t MessageBoxW(Handle owner, const std::wstring& text, const std::wstring& caption, uint32_t style);

}  // namespace plat
