// Polling a service until it reaches a state, as the service manager asks to
// be polled: read the status, wait its wait hint, look at what was read.
#pragma once
#include <cstdint>

#include "platform/handle.h"

// A service that does not get there is given up on once this much time has
// passed on the tick count since the wait began, whatever its wait hints.
constexpr uint32_t kServiceWaitLimitMs = 30000;

enum class ServiceWait {
  Reached,      // a status read showed the wanted state
  QueryFailed,  // a status read failed; its last error is left
  TimedOut,     // the bound ran out; the last error is kErrorTimeout
};

// Each poll reads the status, then waits its wait hint (cut short only where
// it would pass the limit; a hint of 0 polls again at once), then ends when
// that status showed `wantedState`. The service handle needs query-status access.
ServiceWait WaitForServiceState(plat::Handle service, uint32_t wantedState);
