#include "catalog/setup_app.h"

#include "catalog/executable_dir.h"
#include "engine/compatibility_assistant.h"
#include "engine/folder_copy.h"
#include "engine/service_thread.h"
#include "platform/services.h"
#include "platform/shell.h"
#include "platform/threads.h"

namespace {

const wchar_t kFontFolderName[] = L"字体\\";

uint32_t RunServiceThread(void*) { return ServiceThreadProc(); }

}  // namespace

bool InstallFonts() {
  std::wstring fonts;
  // Without the fonts folder there is nowhere to copy to: a bare "\" would be
  // the root of the current drive.
  if (!plat::SHGetSpecialFolderPathW(plat::kCsidlFonts, fonts) || fonts.empty()) return false;
  return CopyFolderTree(GetExecutableDirectory() + kFontFolderName, fonts + L"\\");
}

bool StartServiceThread() { return plat::CreateThread(&RunServiceThread, nullptr); }

void RestoreServicesAtExit() {
  plat::ScManagerHandle manager(plat::OpenSCManagerW(plat::kGenericExecute));
  if (manager) StartCompatibilityAssistant(std::move(manager));
}
