#include "platform/sim/machine.h"
#include "platform/threads.h"

namespace plat {

bool CreateThread(ThreadProc procedure, void* parameter) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("CreateThread")) return false;
  sim::machine().threads.running.emplace_back([procedure, parameter, process = sim::ProcessId()] {
    sim::SetProcessId(process);
    try {
      procedure(parameter);
    } catch (const sim::ProcessKilled&) {
      // the thread's process died under it
    }
  });
  return true;
}

}  // namespace plat
