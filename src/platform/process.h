// Processes: starting a program and waiting for its exit code, and what the
// running process knows of itself.
#pragma once
#include <cstdint>
#include <string>

#include "platform/handle.h"

namespace plat {

constexpr uint32_t kErrorBadExeFormat = 193;
constexpr uint32_t kStillActive = 259;

// How a started program meets the console.
enum class ConsoleUse {
  None,     // CREATE_NO_WINDOW: no console, its output goes nowhere
  Inherit,  // it writes to this process's standard output and error
};

// CreateProcessW with `application` as the program (a full path: nothing is
// searched) and `commandLine` as its whole command line, its first argument
// the quoted program. Returns the process handle; null with the last error.
Handle CreateProcessW(const std::wstring& application, const std::wstring& commandLine, ConsoleUse console);
// WaitForSingleObject(process, INFINITE).
bool WaitForProcessExit(Handle process);
bool GetExitCodeProcess(Handle process, uint32_t& exitCode);

uint32_t GetCurrentProcessId();
// Whether the process runs with an administrator's rights (its token is
// elevated, or on Windows without UAC is a member of the Administrators group).
bool IsProcessElevated();

struct CloseProcess {
  void operator()(Handle h) const;
};
using ProcessHandle = UniqueHandle<CloseProcess>;

}  // namespace plat
