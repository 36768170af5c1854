// A program on the installer's backends that the Windows-side tests run from
// a folder where DLLs named like those the backends bind on first use lie
// planted (planted_dll.cpp). One mode per run:
//   default      loads each planted name by its bare name under Windows'
//                default search, which is how static imports resolve
//   backends     uses winspool and newdev through the backends alone
//   restricted   restricts the DLL search as the installer starts, then loads
//                each planted name by its bare name, as system DLLs load others
// Prints the file each module came from; the exit code is the number of them
// that did not come from the system folder.
//   stranded     the planted DLLs already loaded (so the backends get them,
//                without the entry points they look for), then the backends:
//                the exit code is the number of their calls that did not fail
//                cleanly with ERROR_PROC_NOT_FOUND
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/devinst.h"
#include "platform/spooler.h"
#include "platform/win32/system_library.h"
#include "system_folder.h"

namespace {

const std::vector<const wchar_t*> kPlantedNames = {L"winspool.drv", L"newdev.dll", L"msimg32.dll"};
const std::vector<const wchar_t*> kBackendNames = {L"winspool.drv", L"newdev.dll"};

void LoadByBareName() {
  for (const wchar_t* name : kPlantedNames) LoadLibraryW(name);
}

// The last errors of one spooler and one Plug and Play call through the backends.
std::vector<DWORD> UseTheBackends() {
  std::vector<DWORD> errors;
  uint32_t needed = 0, returned = 0;
  SetLastError(ERROR_SUCCESS);
  plat::EnumPortsW(nullptr, 0, needed, returned);
  errors.push_back(GetLastError());
  SetLastError(ERROR_SUCCESS);
  plat::UpdateDriverForPlugAndPlayDevicesW(L"QX\\NoSuchDevice", L"C:\\qx-no-such.inf", 0, nullptr);
  errors.push_back(GetLastError());
  return errors;
}

std::wstring ModuleFile(const wchar_t* name) {
  HMODULE module = GetModuleHandleW(name);
  wchar_t file[MAX_PATH] = {};
  if (module) GetModuleFileNameW(module, file, MAX_PATH);
  return file;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::wstring mode = argc > 1 ? argv[1] : L"";
  const std::vector<const wchar_t*>* loaded = &kPlantedNames;
  if (mode == L"default") {
    LoadByBareName();
  } else if (mode == L"backends") {
    UseTheBackends();
    loaded = &kBackendNames;
  } else if (mode == L"stranded") {
    LoadByBareName();
    int unclean = 0;
    for (DWORD error : UseTheBackends()) {
      std::wprintf(L"dll_search_probe stranded: last error %lu\n", static_cast<unsigned long>(error));
      if (error != ERROR_PROC_NOT_FOUND) ++unclean;
    }
    return unclean;
  } else if (mode == L"restricted") {
    plat::RestrictDllSearchToSystemFolder();
    LoadByBareName();
  } else {
    std::fwprintf(stderr, L"usage: dll_search_probe default|backends|restricted|stranded\n");
    return -1;
  }
  int strays = 0;
  for (const wchar_t* name : *loaded) {
    std::wstring file = ModuleFile(name);
    std::wprintf(L"dll_search_probe %ls: %ls %ls\n", mode.c_str(), name, file.empty() ? L"(not loaded)" : file.c_str());
    if (!wine::InSystemFolder(file)) ++strays;
  }
  return strays;
}
