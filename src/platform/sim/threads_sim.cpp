#include "platform/sim/machine.h"
#include "platform/threads.h"

namespace plat {

bool CreateThread(ThreadProc procedure, void* parameter) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("CreateThread")) return false;
  sim::machine().threads.running.emplace_back(procedure, parameter);
  return true;
}

}  // namespace plat
