// The simulated service control manager: installed services, their states
// and scripted transitions, and the handles open on them.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/services.h"

namespace sim {

// A poll count that never runs out: the service stays pending for good.
constexpr int kForever = -1;

struct Service {
  std::wstring name;
  uint32_t state = plat::kServiceRunning;
  uint32_t waitHint = 0;     // reported with every status, 0 included
  int startPolls = 0;        // status reads showing start pending after each start
  int stopPolls = 0;         // status reads showing stop pending after each stop
  uint32_t startError = 0;   // StartServiceW on the stopped service fails with it (0: it starts)
  uint32_t stopError = 0;    // ControlService(stop) on the running service fails with it
  int startRaces = 0;        // StartServiceW calls that lose to a start by another program:
                             // the service starts, the call fails with 1056
  uint32_t startPendingMs = 0;  // virtual time a start stays pending, beside startPolls
  uint32_t stopPendingMs = 0;   // virtual time a stop stays pending, beside stopPolls
  int pendingPolls = 0;      // status reads the current pending state still shows (kForever: all)
  uint64_t pendingUntilMs = 0;  // and the virtual time before which it still shows
  std::vector<std::wstring> dependsOn;  // services it needs running (Fax: Spooler)
};

// A status read is a call into the service manager's process: it takes this
// much virtual time, so that polling without a pause still sees time pass.
constexpr uint32_t kStatusReadMs = 1;

class ServiceManager {
 public:
  struct OpenHandle {
    bool manager = false;
    std::wstring service;  // key of the service; empty for the manager
    uint32_t access = 0;
  };

  // Installs the service in `state`, replacing one of that name.
  Service& Add(const std::wstring& name, uint32_t state);
  void Remove(const std::wstring& name);
  Service* Find(const std::wstring& name);
  // The state of an installed service; 0 when it is missing.
  uint32_t State(const std::wstring& name) const;
  // The state as the service's own side sees it at `nowMs`: a pending start or
  // stop whose scripted reads are done gets there when its time has passed,
  // read or not, as a real service does.
  uint32_t StateAt(const std::wstring& name, uint64_t nowMs);
  size_t OpenHandles() const { return open.size(); }
  // The services not stopped that depend on `name`, directly or through
  // another, those furthest from it first: the order a stop must take.
  std::vector<std::wstring> ActiveDependents(const std::wstring& name) const;

  // The manager's side of a start or stop request that it accepted at `nowMs`.
  void BeginStart(Service& s, uint64_t nowMs);
  void BeginStop(Service& s, uint64_t nowMs);
  // The status a query reads at `nowMs`; a pending state counts the read and
  // settles once it has been read the scripted number of times and its
  // scripted time has passed.
  plat::ServiceStatus Read(Service& s, uint64_t nowMs);

  std::map<std::wstring, Service> services;  // by upper-case name
  std::map<uintptr_t, OpenHandle> open;
};

}  // namespace sim
