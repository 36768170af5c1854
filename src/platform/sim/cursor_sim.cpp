#include <utility>

#include "platform/cursor.h"
#include "platform/sim/machine.h"

namespace sim {

std::wstring CursorState::Name(plat::Handle cursor) {
  uintptr_t value = reinterpret_cast<uintptr_t>(cursor);
  return value >= kSystemBase ? std::to_wstring(value - kSystemBase) : L"none";
}

}  // namespace sim

namespace plat {

Handle LoadCursorW(uint32_t cursorId) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("LoadCursorW", std::to_wstring(cursorId))) return nullptr;
  return sim::CursorState::System(cursorId);
}

Handle SetCursor(Handle cursor) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("SetCursor", sim::CursorState::Name(cursor)) && sim::Gone()) return nullptr;
  return std::exchange(sim::machine().cursor.shown, cursor);
}

}  // namespace plat
