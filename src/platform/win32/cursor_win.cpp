#include <windows.h>

#include "platform/cursor.h"

namespace plat {

Handle LoadCursorW(uint32_t cursorId) { return ::LoadCursorW(nullptr, MAKEINTRESOURCEW(cursorId)); }

Handle SetCursor(Handle cursor) { return ::SetCursor(static_cast<HCURSOR>(cursor)); }

}  // namespace plat
