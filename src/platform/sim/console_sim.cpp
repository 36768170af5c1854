#include "platform/console.h"
#include "platform/sim/machine.h"

namespace plat {

void WriteStdoutLine(const std::wstring& text) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("WriteStdoutLine", text) && sim::Gone()) return;
  sim::machine().console.lines.push_back(text);
}

}  // namespace plat
