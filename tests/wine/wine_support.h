// Helpers of the Windows-side tests: the prefix under test, the real spooler
// service, files, and a recorder in place of the error box.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>
#include <winspool.h>
#include <shlobj.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "report/error_report.h"
#include "wine_package.h"

namespace wine {

using wine_package::PrefixIs64Bit;

inline std::string ReadAll(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteAll(const std::wstring& path, const std::string& bytes) {
  std::ofstream out(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
  out << bytes;
}

// The install log's file Log(n).txt in the documents folder.
inline std::wstring LogFile(int n) {
  wchar_t documents[MAX_PATH] = {};
  EXPECT_TRUE(SHGetSpecialFolderPathW(nullptr, documents, CSIDL_PERSONAL, FALSE));
  return std::wstring(documents) + L"\\Tovanta\\Log(" + std::to_wstring(n) + L").txt";
}

// The folder of the running test program, with a trailing "\".
inline std::wstring ExeFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring p = path;
  return p.substr(0, p.find_last_of(L'\\') + 1);
}

inline std::wstring SpoolerDriverFolder() {
  wchar_t folder[MAX_PATH] = {};
  DWORD needed = 0;
  EXPECT_TRUE(GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(folder), sizeof folder, &needed));
  return folder;
}

// The real "Spooler" service: its state and the process it runs in (0 when stopped).
struct SpoolerStatus {
  DWORD state = 0;
  DWORD processId = 0;
};

inline SpoolerStatus QuerySpooler() {
  SpoolerStatus result;
  SC_HANDLE scm = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
  SC_HANDLE service = scm ? OpenServiceW(scm, L"Spooler", SERVICE_QUERY_STATUS) : nullptr;
  SERVICE_STATUS_PROCESS status{};
  DWORD needed = 0;
  if (service && QueryServiceStatusEx(service, SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status),
                                      sizeof status, &needed))
    result = {status.dwCurrentState, status.dwProcessId};
  if (service) CloseServiceHandle(service);
  if (scm) CloseServiceHandle(scm);
  return result;
}

// Waits (bounded, generously) until the spooler reports `state`.
inline bool SpoolerReaches(DWORD state) {
  for (int i = 0; i < 400; ++i) {
    if (QuerySpooler().state == state) return true;
    Sleep(25);
  }
  return false;
}

// Starts the spooler through the real API unless it runs already.
// Wine's own export, which Windows' ntdll lacks.
inline bool RunsUnderWine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

inline void EnsureSpoolerRunning() {
  SC_HANDLE scm = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
  SC_HANDLE service = OpenServiceW(scm, L"Spooler", SERVICE_START);
  if (!StartServiceW(service, 0, nullptr)) {
    EXPECT_EQ(GetLastError(), DWORD(ERROR_SERVICE_ALREADY_RUNNING));
  }
  CloseServiceHandle(service);
  CloseServiceHandle(scm);
  ASSERT_TRUE(SpoolerReaches(SERVICE_RUNNING));
}

// Deletes the local printer `name` if there is one, whatever earlier runs left.
inline void DeletePrinterNamed(const std::wstring& name) {
  HANDLE h = nullptr;
  PRINTER_DEFAULTSW all{nullptr, nullptr, PRINTER_ALL_ACCESS};
  if (!OpenPrinterW(const_cast<LPWSTR>(name.c_str()), &h, &all)) return;
  DeletePrinter(h);
  ClosePrinter(h);
}

// The local printers; their strings live in `storage`.
inline std::vector<PRINTER_INFO_2W> EnumLocalPrinters(std::vector<BYTE>& storage) {
  DWORD needed = 0, count = 0;
  EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, nullptr, 0, &needed, &count);
  storage.assign(needed + 1, 0);
  if (!EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, storage.data(), needed, &needed, &count)) return {};
  auto* first = reinterpret_cast<PRINTER_INFO_2W*>(storage.data());
  return std::vector<PRINTER_INFO_2W>(first, first + count);
}

inline bool MonitorInstalled(const std::wstring& name) {
  DWORD needed = 0, count = 0;
  EnumMonitorsW(nullptr, 1, nullptr, 0, &needed, &count);
  std::vector<BYTE> storage(needed + 1, 0);
  if (!EnumMonitorsW(nullptr, 1, storage.data(), needed, &needed, &count)) return false;
  auto* monitors = reinterpret_cast<MONITOR_INFO_1W*>(storage.data());
  for (DWORD i = 0; i < count; ++i)
    if (name == monitors[i].pName) return true;
  return false;
}

// A recorder in place of the error box, for the test's lifetime.
class ErrorBoxRecorder {
 public:
  ErrorBoxRecorder() {
    Boxes().clear();
    SetErrorPresenter(&Record);
  }
  ~ErrorBoxRecorder() { SetErrorPresenter(nullptr); }
  static std::vector<std::wstring>& Boxes() {
    static std::vector<std::wstring> boxes;
    return boxes;
  }

 private:
  static void Record(int code) { Boxes().push_back(std::to_wstring(code)); }
};

}  // namespace wine
