// The mouse cursor of the calling thread.
#pragma once
#include <cstdint>

#include "platform/handle.h"

namespace plat {

// System cursor ids (IDC_...).
constexpr uint32_t kIdcArrow = 32512;
constexpr uint32_t kIdcWait = 32514;

// LoadCursorW of a system cursor; null on failure.
Handle LoadCursorW(uint32_t cursorId);
// SetCursor: shows `cursor` (null hides it) and returns the one it replaced.
Handle SetCursor(Handle cursor);

}  // namespace plat
