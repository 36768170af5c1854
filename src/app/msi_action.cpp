// QuillexMsiAction.dll: the MSI's deferred custom actions. Each runs the
// installed install program with the command line its action data holds,
// and writes every line the program prints, then its exit code, into the
// MSI's own log, so that an administrator reads there what happened (a kept
// printer, a printer waiting for its jobs, the reason of a failure). A
// failing exit code fails the action, and with it the MSI (1603).
#include <windows.h>
#include <msi.h>
#include <msiquery.h>

#include <memory>
#include <string>

namespace {

struct CloseHandleDeleter {
  void operator()(HANDLE h) const { CloseHandle(h); }
};
using OwnedHandle = std::unique_ptr<void, CloseHandleDeleter>;

std::wstring ActionData(MSIHANDLE session) {
  DWORD size = 0;
  wchar_t empty[1] = {};
  MsiGetPropertyW(session, L"CustomActionData", empty, &size);
  std::wstring data(size + 1, L'\0');
  size = static_cast<DWORD>(data.size());
  if (MsiGetPropertyW(session, L"CustomActionData", data.data(), &size) != ERROR_SUCCESS) return {};
  data.resize(size);
  return data;
}

// One line into the MSI's log; "[1]" keeps brackets in the text from being formatted.
void LogLine(MSIHANDLE session, const std::wstring& line) {
  PMSIHANDLE record = MsiCreateRecord(1);
  MsiRecordSetStringW(record, 0, L"QuillexInstall: [1]");
  MsiRecordSetStringW(record, 1, line.c_str());
  MsiProcessMessage(session, INSTALLMESSAGE_INFO, record);
}

// The program writes its lines in the system's ANSI code page to a pipe.
void LogAnsiLine(MSIHANDLE session, std::string line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
  const int units = MultiByteToWideChar(CP_ACP, 0, line.data(), static_cast<int>(line.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(units > 0 ? units : 0), L'\0');
  if (units > 0) MultiByteToWideChar(CP_ACP, 0, line.data(), static_cast<int>(line.size()), wide.data(), units);
  LogLine(session, wide);
}

// Relays the pipe's lines to the log until the program closes its end.
void RelayOutput(MSIHANDLE session, HANDLE output) {
  std::string pending;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(output, buffer, sizeof buffer, &read, nullptr) && read > 0) {
    pending.append(buffer, read);
    for (size_t end; (end = pending.find('\n')) != std::string::npos; pending.erase(0, end + 1))
      LogAnsiLine(session, pending.substr(0, end));
  }
  if (!pending.empty()) LogAnsiLine(session, pending);
}

}  // namespace

extern "C" __declspec(dllexport) UINT __stdcall RunInstallProgram(MSIHANDLE session) {
  std::wstring command = ActionData(session);
  LogLine(session, command);
  SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) {
    LogLine(session, L"CreatePipe failed with error " + std::to_wstring(GetLastError()));
    return ERROR_INSTALL_FAILURE;
  }
  OwnedHandle output(readEnd), programOutput(writeEnd);
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = startup.hStdError = writeEnd;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                      &process)) {
    LogLine(session, L"CreateProcessW failed with error " + std::to_wstring(GetLastError()));
    return ERROR_INSTALL_FAILURE;
  }
  OwnedHandle program(process.hProcess), thread(process.hThread);
  programOutput.reset();  // the pipe ends when the program (and any it started) closes its end
  RelayOutput(session, output.get());
  WaitForSingleObject(program.get(), INFINITE);
  DWORD code = ERROR_INSTALL_FAILURE;
  GetExitCodeProcess(program.get(), &code);
  LogLine(session, L"exit code " + std::to_wstring(code));
  return code == 0 ? ERROR_SUCCESS : ERROR_INSTALL_FAILURE;
}
