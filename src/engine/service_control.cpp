#include "engine/service_control.h"

#include "engine/service_sequence.h"
#include "engine/service_wait.h"
#include "platform/error.h"
#include "platform/kernel.h"
#include "platform/services.h"
#include "report/install_log.h"

namespace {

constexpr uint32_t kSpoolerRetryPauseMs = 1000;
const wchar_t kSpoolerService[] = L"Spooler";

// A service opened with full access, with the manager it was opened through;
// the service handle closes first.
struct OpenedService {
  plat::ScManagerHandle manager;
  plat::ServiceHandle service;
};

// Logs the failing step with its error code; `service` stays invalid then.
OpenedService OpenServiceFully(const std::wstring& name) {
  OpenedService opened;
  opened.manager = plat::ScManagerHandle(plat::OpenSCManagerW(plat::kScManagerAllAccess));
  if (!opened.manager) {
    WriteInstallLog(L"OpenSCManager", true);
    return opened;
  }
  opened.service = plat::ServiceHandle(plat::OpenServiceW(opened.manager.get(), name, plat::kServiceAllAccess));
  if (!opened.service) WriteInstallLog(L"OpenService", true);
  return opened;
}

// False, with what was waited for in the log, when the polling bound ran out.
bool AwaitState(plat::Handle service, uint32_t wanted, const std::wstring& what) {
  if (WaitForServiceState(service, wanted) != ServiceWait::TimedOut) return true;
  WriteInstallLog(what, true);
  return false;
}

// The running services that need the spooler, in the order to stop them; a
// list that cannot be read is taken for none, and the stop then tells.
std::vector<std::wstring> SpoolerDependents() {
  std::vector<std::wstring> names;
  OpenedService opened = OpenServiceFully(kSpoolerService);
  if (opened.service && !plat::EnumDependentServicesW(opened.service.get(), names)) {
    WriteInstallLog(L"EnumDependentServices", true);
    names.clear();
  }
  return names;
}

// The stop request, then the wait until the service has stopped.
bool StopServiceAndWait(const std::wstring& name) {
  if (!StopServiceByName(name)) return false;
  OpenedService opened = OpenServiceFully(name);
  return opened.service && AwaitState(opened.service.get(), plat::kServiceStopped, L"Waiting for " + name + L" to stop");
}

}  // namespace

bool StopSpooler(std::vector<std::wstring>& dependents) {
  ServiceSequence sequence;
  dependents.clear();
  for (const std::wstring& name : SpoolerDependents()) {
    if (!StopServiceAndWait(name)) return false;
    dependents.push_back(name);
  }
  return StopServiceByName(kSpoolerService);
}

bool StartSpooler(const std::vector<std::wstring>& dependents) {
  ServiceSequence sequence;
  if (!StartServiceAndWait(kSpoolerService)) return false;
  // Stopped last, started first: each finds what it depends on running.
  for (auto it = dependents.rbegin(); it != dependents.rend(); ++it)
    if (!StartServiceAndWait(*it)) WriteInstallLog(L"开启服务失败：" + *it, false);
  return true;
}

bool StopServiceByName(const std::wstring& name) {
  OpenedService opened = OpenServiceFully(name);
  if (!opened.service) return false;
  plat::ServiceStatus status;
  if (plat::QueryServiceStatus(opened.service.get(), status) && status.currentState == plat::kServiceStopped)
    return true;
  if (plat::ControlService(opened.service.get(), plat::kServiceControlStop, status)) return true;
  WriteInstallLog(L"ControlService", true);
  return false;
}

bool StartServiceAndWait(const std::wstring& name) {
  OpenedService opened = OpenServiceFully(name);
  if (!opened.service) return false;
  plat::Handle service = opened.service.get();
  plat::ServiceStatus status;
  // A status that cannot be read tells nothing, and taking it for "running"
  // would leave a spooler stopped by the caller stopped: the start finds out
  // (1056 when it runs).
  const bool read = plat::QueryServiceStatus(service, status);
  if (read && status.currentState == plat::kServiceStopPending) {
    // Not started now, it would be left stopped: let the stop finish first.
    // If its status cannot be read meanwhile, the start below tells.
    if (!AwaitState(service, plat::kServiceStopped, L"Waiting for " + name + L" to stop")) return false;
  } else if (read && status.currentState != plat::kServiceStopped) {
    return true;
  }
  // Already running: another program (or Windows itself) started it since
  // the status read, which is what was wanted.
  if (!plat::StartServiceW(service) && plat::GetLastError() != plat::kErrorServiceAlreadyRunning) {
    WriteInstallLog(L"StartService", true);
    return false;
  }
  return AwaitState(service, plat::kServiceRunning, L"Waiting for " + name + L" to start");
}

bool EnsureSpoolerRunning() {
  ServiceSequence sequence;
  for (int attempt = 1; attempt <= kSpoolerStartTries; ++attempt) {
    if (StartServiceAndWait(kSpoolerService)) return true;
    if (attempt < kSpoolerStartTries) plat::Sleep(kSpoolerRetryPauseMs);
  }
  WriteInstallLog(L"Spooler服务无法运行", false);
  return false;
}

bool RestartSpooler() {
  ServiceSequence sequence;
  std::vector<std::wstring> dependents;
  if (!StopSpooler(dependents)) {
    WriteInstallLog(L"关闭服务失败", false);
    return false;
  }
  plat::Sleep(kSpoolerPauseMs);
  if (!StartSpooler(dependents)) {
    WriteInstallLog(L"开启服务失败", false);
    return false;
  }
  plat::Sleep(kSpoolerPauseMs);
  return true;
}
