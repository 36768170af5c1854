#include "engine/compatibility_assistant.h"

#include "engine/service_wait.h"
#include "platform/kernel.h"

namespace {

constexpr uint32_t kPcaAccess = plat::kServiceQueryStatus | plat::kServiceStart | plat::kServiceStop;  // 0x34

// Opens "PcaSvc" and reads its state; false when either fails.
bool OpenAssistant(const plat::ScManagerHandle& manager, plat::ServiceHandle& service, uint32_t& state) {
  service = plat::ServiceHandle(plat::OpenServiceW(manager.get(), L"PcaSvc", kPcaAccess));
  plat::ServiceStatus status;
  if (!service || !plat::QueryServiceStatus(service.get(), status)) return false;
  state = status.currentState;
  return true;
}

}  // namespace

bool StopCompatibilityAssistant(plat::ScManagerHandle manager) {
  plat::ServiceHandle service;
  uint32_t state = 0;
  if (!OpenAssistant(manager, service, state) || state != plat::kServiceRunning) return false;
  plat::ServiceStatus status;
  if (!plat::ControlService(service.get(), plat::kServiceControlStop, status)) return false;
  if (WaitForServiceState(service.get(), plat::kServiceStopped) == ServiceWait::Reached)
    plat::OutputDebugStringW(L"stop success。");
  return true;
}

void StartCompatibilityAssistant(plat::ScManagerHandle manager) {
  plat::ServiceHandle service;
  uint32_t state = 0;
  if (!OpenAssistant(manager, service, state) || state != plat::kServiceStopped) return;
  if (!plat::StartServiceW(service.get())) return;
  if (WaitForServiceState(service.get(), plat::kServiceRunning) == ServiceWait::Reached)
    plat::OutputDebugStringW(L"start success。");
}
