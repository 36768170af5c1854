// The start-up service thread: stops the compatibility assistant and makes
// sure the print spooler runs, then ends. What it did is kept for the
// installer's exit, which starts the assistant again only if the thread
// stopped it: an assistant stopped before the installer ran stays stopped.
#pragma once
#include <atomic>
#include <cstdint>

#include "engine/service_wait.h"

// Written by the thread inside its ServiceSequence; it outlives the thread
// (static storage in the application), since an exit that gives up waiting
// leaves the thread running.
struct ServiceThreadRecord {
  std::atomic<bool> assistantStopped{false};  // this installer asked the assistant to stop
  std::atomic<bool> finished{false};          // the thread's sequence has ended, or it never started
};

// The thread waited for at exit at most this long on the tick count: its own
// waits (assistant stop, spooler stop and start) and a margin.
constexpr uint32_t kServiceThreadWaitMs = 4 * kServiceWaitLimitMs;

// The thread's procedure; returns 0.
uint32_t ServiceThreadProc(ServiceThreadRecord& record);

// Pauses until `record` shows the thread finished; false when the bound ran out first.
bool WaitForServiceThread(const ServiceThreadRecord& record);
