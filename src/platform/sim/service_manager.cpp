#include "platform/sim/machine.h"

namespace sim {

namespace {

bool IsPending(uint32_t state) { return state == plat::kServiceStartPending || state == plat::kServiceStopPending; }

void Settle(Service& s) {
  s.state = s.state == plat::kServiceStartPending ? plat::kServiceRunning : plat::kServiceStopped;
  s.pendingPolls = 0;
}

bool Due(const Service& s, uint64_t nowMs) { return s.pendingPolls == 0 && nowMs >= s.pendingUntilMs; }

void Begin(Service& s, uint32_t pendingState, int polls, uint64_t untilMs) {
  s.state = pendingState;
  s.pendingPolls = polls;
  s.pendingUntilMs = untilMs;
  if (Due(s, untilMs)) Settle(s);
}

}  // namespace

Service& ServiceManager::Add(const std::wstring& name, uint32_t state) {
  Service& s = services[FileSystem::Key(name)];
  s = Service();
  s.name = name;
  s.state = state;
  return s;
}

void ServiceManager::Remove(const std::wstring& name) { services.erase(FileSystem::Key(name)); }

Service* ServiceManager::Find(const std::wstring& name) {
  auto it = services.find(FileSystem::Key(name));
  return it == services.end() ? nullptr : &it->second;
}

std::vector<std::wstring> ServiceManager::ActiveDependents(const std::wstring& name) const {
  std::vector<std::wstring> order;
  for (const auto& [key, s] : services) {
    if (s.state == plat::kServiceStopped) continue;
    for (const std::wstring& needed : s.dependsOn) {
      if (FileSystem::Key(needed) != FileSystem::Key(name)) continue;
      for (const std::wstring& further : ActiveDependents(s.name)) order.push_back(further);
      order.push_back(s.name);
    }
  }
  return order;
}

uint32_t ServiceManager::State(const std::wstring& name) const {
  auto it = services.find(FileSystem::Key(name));
  return it == services.end() ? 0 : it->second.state;
}

uint32_t ServiceManager::StateAt(const std::wstring& name, uint64_t nowMs) {
  Service* s = Find(name);
  if (!s) return 0;
  if (IsPending(s->state) && Due(*s, nowMs)) Settle(*s);
  return s->state;
}

void ServiceManager::BeginStart(Service& s, uint64_t nowMs) {
  Begin(s, plat::kServiceStartPending, s.startPolls, nowMs + s.startPendingMs);
}

void ServiceManager::BeginStop(Service& s, uint64_t nowMs) {
  Begin(s, plat::kServiceStopPending, s.stopPolls, nowMs + s.stopPendingMs);
}

plat::ServiceStatus ServiceManager::Read(Service& s, uint64_t nowMs) {
  if (IsPending(s.state) && Due(s, nowMs)) Settle(s);  // its time ran out since the last read
  plat::ServiceStatus status{s.state, s.waitHint};
  if (IsPending(s.state) && s.pendingPolls > 0 && --s.pendingPolls == 0 && Due(s, nowMs)) Settle(s);
  return status;
}

}  // namespace sim
