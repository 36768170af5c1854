// The engine's service sequences run one at a time in the process: the
// start-up thread's "stop the assistant, make sure the spooler runs", the
// protected copy's "stop, pause, copy, start" and the monitor's replacement.
// Without this, one thread's start lands inside another's stop and the
// spooler holds the files again when the copy is made.
#pragma once
#include <mutex>

// Held for the lifetime of the object; a thread may nest sequences.
class ServiceSequence {
 public:
  ServiceSequence();
  ServiceSequence(const ServiceSequence&) = delete;
  ServiceSequence& operator=(const ServiceSequence&) = delete;

 private:
  std::unique_lock<std::recursive_mutex> lock_;
};
