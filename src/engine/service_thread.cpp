#include "engine/service_thread.h"

#include "engine/compatibility_assistant.h"
#include "engine/service_control.h"
#include "engine/service_sequence.h"
#include "platform/kernel.h"
#include "platform/services.h"
#include "report/install_log.h"

namespace {

constexpr uint32_t kFinishPollMs = 100;

}  // namespace

uint32_t ServiceThreadProc(ServiceThreadRecord& record) {
  ServiceSequence sequence;
  plat::ScManagerHandle manager(plat::OpenSCManagerW(plat::kGenericExecute));
  if (manager && StopCompatibilityAssistant(std::move(manager))) record.assistantStopped = true;
  if (!StartServiceAndWait(L"Spooler")) WriteInstallLog(L"开启服务失败", false);
  record.finished = true;
  return 0;
}

bool WaitForServiceThread(const ServiceThreadRecord& record) {
  const uint32_t start = plat::GetTickCount();
  while (!record.finished) {
    if (plat::GetTickCount() - start >= kServiceThreadWaitMs) return false;  // unsigned: right across the wrap
    plat::Sleep(kFinishPollMs);
  }
  return true;
}
