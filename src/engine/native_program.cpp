#include "engine/native_program.h"

#include "base/command_line.h"
#include "catalog/package_root.h"
#include "engine/installation_lock.h"
#include "engine/pe_image.h"
#include "platform/error.h"
#include "report/error_codes.h"
#include "report/error_report.h"
#include "report/install_log.h"

const wchar_t kNativeProgramName[] = L"QuillexInstall64.exe";

namespace {

int CannotRun(const std::wstring& path, const wchar_t* why, bool withErrorCode) {
  WriteInstallLog(L"The 64-bit install program " + path + L" " + why, withErrorCode);
  return kCodeNativeProgram;
}

}  // namespace

std::vector<std::wstring> InstallArguments(const InstallJob& job) {
  std::vector<std::wstring> arguments{L"/install", L"/model", job.modelName, L"/port", job.portName};
  if (!job.detectedModel.empty()) {
    arguments.push_back(L"/detected");
    arguments.push_back(job.detectedModel);
  }
  return arguments;
}

int RunNativeProgram(const std::vector<std::wstring>& arguments, plat::ConsoleUse console) {
  const std::wstring path = GetPackageRootDirectory() + kNativeProgramName;
  PeImage image;
  if (!ReadPeImage(path, image)) return CannotRun(path, L"cannot be read", true);
  if (!IsX64Image(image) || image.isDll) return CannotRun(path, L"is no x86-64 program", false);
  plat::ProcessHandle process(plat::CreateProcessW(path, JoinCommandLine(path, arguments), console));
  if (!process) return CannotRun(path, L"cannot be started", true);
  uint32_t exitCode = 0;
  if (!plat::WaitForProcessExit(process.get()) || !plat::GetExitCodeProcess(process.get(), exitCode))
    return CannotRun(path, L"cannot be waited for", true);
  return static_cast<int>(exitCode);
}

bool InstallThroughNativeProgram(const InstallJob& job) {
  CLockHandoff handoff;
  std::vector<std::wstring> arguments = InstallArguments(job);
  if (handoff.Valid()) {
    arguments.push_back(L"/handoff");
    arguments.push_back(handoff.Token());
  }
  const int exitCode = RunNativeProgram(arguments, plat::ConsoleUse::None);
  if (exitCode == kExitSuccess) return true;
  if (IsErrorCode(exitCode)) {
    ShowErrorCode(exitCode);
  } else {
    WriteInstallLog(L"The 64-bit install program ended with exit code " + std::to_wstring(exitCode), false);
    ShowErrorCode(kCodeUnexpected);
  }
  return false;
}
