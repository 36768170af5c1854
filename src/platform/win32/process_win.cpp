#include <windows.h>

#include <vector>

#include "platform/process.h"

namespace plat {

Handle CreateProcessW(const std::wstring& application, const std::wstring& commandLine, ConsoleUse console) {
  std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
  line.push_back(L'\0');  // CreateProcessW may write into its command line
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  BOOL inherit = FALSE;
  DWORD flags = 0;
  if (console == ConsoleUse::Inherit) {
    // Standard handles redirected to a file or pipe reach the program only as inherited handles.
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = ::GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    inherit = TRUE;
  } else {
    flags = CREATE_NO_WINDOW;
  }
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(application.c_str(), line.data(), nullptr, nullptr, inherit, flags, nullptr, nullptr,
                        &startup, &info))
    return nullptr;
  ::CloseHandle(info.hThread);
  return info.hProcess;
}

bool WaitForProcessExit(Handle process) { return ::WaitForSingleObject(process, INFINITE) == WAIT_OBJECT_0; }

bool GetExitCodeProcess(Handle process, uint32_t& exitCode) {
  DWORD code = 0;
  if (!::GetExitCodeProcess(process, &code)) return false;
  exitCode = code;
  return true;
}

uint32_t GetCurrentProcessId() { return ::GetCurrentProcessId(); }

bool IsProcessElevated() {
  // The Administrators group as an enabled member of the token: an elevated
  // token under UAC, an administrator's token without it.
  SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
  PSID administrators = nullptr;
  if (!::AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                  &administrators))
    return false;
  BOOL member = FALSE;
  if (!::CheckTokenMembership(nullptr, administrators, &member)) member = FALSE;
  ::FreeSid(administrators);
  return member != FALSE;
}

void CloseProcess::operator()(Handle h) const { ::CloseHandle(h); }

}  // namespace plat
