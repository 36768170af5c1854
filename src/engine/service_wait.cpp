#include "engine/service_wait.h"

#include <algorithm>

#include "platform/error.h"
#include "platform/kernel.h"
#include "platform/services.h"

ServiceWait WaitForServiceState(plat::Handle service, uint32_t wantedState) {
  uint32_t waitedMs = 0;
  for (int poll = 1;; ++poll) {
    plat::ServiceStatus status;
    if (!plat::QueryServiceStatus(service, status)) return ServiceWait::QueryFailed;
    uint32_t pause = std::min(status.waitHint, kServiceWaitLimitMs - waitedMs);
    plat::Sleep(pause);
    waitedMs += pause;
    if (status.currentState == wantedState) return ServiceWait::Reached;
    if (poll == kServicePollLimit || waitedMs >= kServiceWaitLimitMs) {
      plat::SetLastError(plat::kErrorTimeout);
      return ServiceWait::TimedOut;
    }
  }
}
