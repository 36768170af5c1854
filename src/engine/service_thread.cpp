#include "engine/service_thread.h"

#include "engine/compatibility_assistant.h"
#include "engine/install_log.h"
#include "engine/service_control.h"
#include "engine/service_sequence.h"
#include "platform/services.h"

uint32_t ServiceThreadProc() {
  ServiceSequence sequence;
  plat::ScManagerHandle manager(plat::OpenSCManagerW(plat::kGenericExecute));
  if (manager) StopCompatibilityAssistant(std::move(manager));
  if (!StartServiceAndWait(L"Spooler")) WriteInstallLog(L"开启服务失败", false);
  return 0;
}
