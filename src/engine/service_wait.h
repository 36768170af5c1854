// Polling a service until it reaches a state, as the service manager asks to
// be polled: read the status, wait its wait hint, look at what was read.
#pragma once
#include <cstdint>

#include "platform/handle.h"

// A service that does not get there is given up on after this much waiting
// in all, or after this many polls (a wait hint of 0 would otherwise spin).
constexpr uint32_t kServiceWaitLimitMs = 30000;
constexpr int kServicePollLimit = 300;

enum class ServiceWait {
  Reached,      // a status read showed the wanted state
  QueryFailed,  // a status read failed; its last error is left
  TimedOut,     // the bound ran out; the last error is kErrorTimeout
};

// Each poll reads the status, then waits its wait hint (cut short only where
// the total would pass kServiceWaitLimitMs), then ends when that status
// showed `wantedState`. The service handle needs query-status access.
ServiceWait WaitForServiceState(plat::Handle service, uint32_t wantedState);
