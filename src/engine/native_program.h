// The 64-bit install program: on 64-bit Windows the 32-bit wizard and the
// 32-bit install program hand every installation to it, since only a native
// process meets the x64 driver folder, the x64 monitor and the native SetupAPI.
#pragma once
#include <string>
#include <vector>

#include "engine/install_job.h"
#include "platform/process.h"

extern const wchar_t kNativeProgramName[];  // "QuillexInstall64.exe"

// The install program's arguments for `job`.
std::vector<std::wstring> InstallArguments(const InstallJob& job);

// Starts the native program by its full path in the executable's folder with
// `arguments`, and waits for its end. Returns its exit code; when it is
// missing, is no x86-64 program or cannot be started, writes a log entry and
// returns kCodeNativeProgram.
int RunNativeProgram(const std::vector<std::wstring>& arguments, plat::ConsoleUse console);

// The install worker's road on 64-bit Windows: runs the program for `job`
// under the wizard's lock and shows its failure (ShowErrorCode) as the
// in-process road would: its box code, or kCodeUnexpected for an exit code
// that is none (logged). True when the program installed.
bool InstallThroughNativeProgram(const InstallJob& job);
