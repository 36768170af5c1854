#include <thread>

#include "platform/error.h"
#include "platform/process.h"
#include "platform/sim/machine.h"

namespace plat {

namespace {

constexpr uint32_t kExitKilled = 1;  // what TerminateProcess gives a process ended from Task Manager

}  // namespace

Handle CreateProcessW(const std::wstring& application, const std::wstring& commandLine, ConsoleUse console) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("CreateProcessW", commandLine)) return nullptr;
  sim::Machine& m = sim::machine();
  if (!m.fs.Exists(application) || m.fs.IsDirectory(application)) {
    SetLastError(kErrorFileNotFound);
    return nullptr;
  }
  auto program = m.processes.programs.find(sim::FileSystem::Key(application));
  if (program == m.processes.programs.end()) {
    SetLastError(kErrorBadExeFormat);  // a file, but no program this machine can run
    return nullptr;
  }
  const int process = ++m.processes.lastProcess;
  m.processes.started.push_back({application, commandLine, console == ConsoleUse::None, process});
  auto running = std::make_shared<sim::Processes::Running>();
  running->thread = std::thread([run = program->second, commandLine, running, process] {
    sim::SetProcessId(process);
    uint32_t code = kExitKilled;
    try {
      code = run(commandLine);
    } catch (const sim::ProcessKilled&) {
      // ended from outside: the code Task Manager gives
    }
    auto lock = sim::machine().Lock();
    running->exitCode = code;
    running->ended = true;
  });
  Handle handle = m.NewHandle();
  m.processes.open[sim::Id(handle)] = running;
  return handle;
}

bool WaitForProcessExit(Handle process) {
  std::shared_ptr<sim::Processes::Running> running;
  std::thread thread;
  {
    auto lock = sim::machine().Lock();
    if (sim::Enter("WaitForSingleObject", L"process")) return false;
    auto it = sim::machine().processes.open.find(sim::Id(process));
    if (it == sim::machine().processes.open.end()) {
      SetLastError(kErrorInvalidHandle);
      return false;
    }
    running = it->second;
    if (running->thread.joinable()) thread = std::move(running->thread);
  }
  if (thread.joinable()) thread.join();  // without the lock: the program needs it
  for (;;) {
    auto lock = sim::machine().Lock();
    if (running->ended) return true;
    lock.unlock();
    std::this_thread::yield();
  }
}

bool GetExitCodeProcess(Handle process, uint32_t& exitCode) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("GetExitCodeProcess")) return false;
  auto it = sim::machine().processes.open.find(sim::Id(process));
  if (it == sim::machine().processes.open.end()) {
    SetLastError(kErrorInvalidHandle);
    return false;
  }
  exitCode = it->second->ended ? it->second->exitCode : kStillActive;
  return true;
}

uint32_t GetCurrentProcessId() {
  auto lock = sim::machine().Lock();
  return sim::machine().processes.currentProcessId;
}

bool IsProcessElevated() {
  auto lock = sim::machine().Lock();
  if (sim::Enter("IsProcessElevated")) return false;
  return sim::machine().processes.elevated;
}

void CloseProcess::operator()(Handle h) const {
  std::thread thread;
  {
    auto lock = sim::machine().Lock();
    sim::Enter("CloseHandle", L"process");
    auto it = sim::machine().processes.open.find(sim::Id(h));
    if (it == sim::machine().processes.open.end()) return;
    // The program goes on without the handle; the machine still waits for it.
    if (it->second->thread.joinable()) sim::machine().threads.running.push_back(std::move(it->second->thread));
    sim::machine().processes.open.erase(it);
  }
}

}  // namespace plat
