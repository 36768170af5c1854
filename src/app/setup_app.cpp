#include "app/setup_app.h"

#include "base/executable_dir.h"
#include "engine/compatibility_assistant.h"
#include "engine/folder_copy.h"
#include "engine/installation_lock.h"
#include "engine/service_sequence.h"
#include "engine/service_thread.h"
#include "platform/services.h"
#include "platform/shell.h"
#include "platform/threads.h"
#include "platform/window.h"
#include "report/app_title.h"

namespace {

uint32_t RunServiceThread(void* record) { return ServiceThreadProc(*static_cast<ServiceThreadRecord*>(record)); }

}  // namespace

void AnswerAnotherInstallation() {
  if (plat::BringWindowToFront(kAppTitle) || plat::BringWindowToFront(kReadmeTitle)) return;
  plat::MessageBoxW(nullptr, kAnotherInstallationText, kAppTitle, plat::kMbIconInformation);
}

bool InstallFonts() {
  std::wstring fonts;
  // Without the fonts folder there is nowhere to copy to: a bare "\" would be
  // the root of the current drive.
  if (!plat::SHGetSpecialFolderPathW(plat::kCsidlFonts, fonts) || fonts.empty()) return false;
  return CopyFolderTree(GetExecutableDirectory() + kFontFolderName, fonts + L"\\");
}

bool StartServiceThread(ServiceThreadRecord& record) {
  if (plat::CreateThread(&RunServiceThread, &record)) return true;
  record.finished = true;  // nothing will be stopped, nothing to wait for
  return false;
}

void RestoreServicesAtExit(ServiceThreadRecord& record) {
  // A thread still in its sequence may stop the assistant yet: a start now
  // would race that stop, so the assistant is left as it is.
  if (!WaitForServiceThread(record)) return;
  ServiceSequence sequence;
  if (!record.assistantStopped) return;
  plat::ScManagerHandle manager(plat::OpenSCManagerW(plat::kGenericExecute));
  if (manager) StartCompatibilityAssistant(std::move(manager));
}
