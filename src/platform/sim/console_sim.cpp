#include "platform/console.h"
#include "platform/sim/machine.h"

namespace plat {

void WriteStdoutLine(const std::wstring& text) {
  auto lock = sim::machine().Lock();
  sim::Enter("WriteStdoutLine", text);
  sim::machine().console.lines.push_back(text);
}

}  // namespace plat
