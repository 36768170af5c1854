#include "engine/service_wait.h"

#include <algorithm>

#include "platform/error.h"
#include "platform/kernel.h"
#include "platform/services.h"

ServiceWait WaitForServiceState(plat::Handle service, uint32_t wantedState) {
  const uint32_t start = plat::GetTickCount();
  for (;;) {
    plat::ServiceStatus status;
    if (!plat::QueryServiceStatus(service, status)) return ServiceWait::QueryFailed;
    const uint32_t elapsed = plat::GetTickCount() - start;  // unsigned: right across the 49-day wrap
    const uint32_t left = elapsed < kServiceWaitLimitMs ? kServiceWaitLimitMs - elapsed : 0;
    plat::Sleep(std::min(status.waitHint, left));
    if (status.currentState == wantedState) return ServiceWait::Reached;
    if (plat::GetTickCount() - start >= kServiceWaitLimitMs) {
      plat::SetLastError(plat::kErrorTimeout);
      return ServiceWait::TimedOut;
    }
  }
}
