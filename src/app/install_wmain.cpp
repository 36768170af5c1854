// wmain of QuillexInstall.exe (and QuillexInstall64.exe): a console program
// without a window of its own. Before anything else, DLLs come from the
// system folder only, as in the wizard.
#include <string>
#include <vector>

#include "app/install_program.h"
#include "platform/dll_search.h"
#include "report/error_codes.h"

int wmain(int argc, wchar_t** argv) {
  plat::RestrictDllSearchToSystemFolder();
  try {
    return RunInstallProgram(std::vector<std::wstring>(argv + 1, argv + argc));
  } catch (...) {
    return kCodeUnexpected;  // out of memory: the installation has failed
  }
}
