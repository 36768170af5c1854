#include <cstdio>

#include "platform/error.h"
#include "platform/services.h"
#include "platform/sim/machine.h"

namespace plat {

namespace {

using sim::ServiceManager;

ServiceManager& Scm() { return sim::machine().services; }

std::wstring Hex(uint32_t value) {
  wchar_t text[16];
  std::swprintf(text, 16, L"0x%X", value);
  return text;
}

// The service's name as the transcript shows it; empty for the manager or a stale handle.
std::wstring NameOf(Handle h) {
  auto it = Scm().open.find(sim::Id(h));
  if (it == Scm().open.end() || it->second.manager) return {};
  const sim::Service* s = Scm().Find(it->second.service);
  return s ? s->name : it->second.service;
}

// The service behind an open service handle granted `right`; null with the last error set.
sim::Service* Granted(Handle h, uint32_t right) {
  auto it = Scm().open.find(sim::Id(h));
  if (it == Scm().open.end() || it->second.manager) {
    SetLastError(kErrorInvalidHandle);
    return nullptr;
  }
  if ((it->second.access & right) != right) {
    SetLastError(kErrorAccessDenied);
    return nullptr;
  }
  sim::Service* s = Scm().Find(it->second.service);
  if (!s) SetLastError(kErrorServiceDoesNotExist);
  return s;
}

bool Fail(uint32_t error) {
  SetLastError(error);
  return false;
}

}  // namespace

Handle OpenSCManagerW(uint32_t access) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("OpenSCManagerW", Hex(access))) return nullptr;
  Handle h = sim::machine().NewHandle();
  Scm().open[sim::Id(h)] = {true, L"", access};
  return h;
}

Handle OpenServiceW(Handle manager, const std::wstring& name, uint32_t access) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("OpenServiceW", name + L" " + Hex(access))) return nullptr;
  auto m = Scm().open.find(sim::Id(manager));
  if (m == Scm().open.end() || !m->second.manager) return Fail(kErrorInvalidHandle), nullptr;
  if (!Scm().Find(name)) return Fail(kErrorServiceDoesNotExist), nullptr;
  Handle h = sim::machine().NewHandle();
  Scm().open[sim::Id(h)] = {false, sim::FileSystem::Key(name), access};
  return h;
}

bool QueryServiceStatus(Handle service, ServiceStatus& status) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("QueryServiceStatus", NameOf(service))) return false;
  sim::Service* s = Granted(service, kServiceQueryStatus);
  if (!s) return false;
  sim::machine().clock.Advance(sim::kStatusReadMs);
  status = Scm().Read(*s, sim::machine().clock.NowMs());
  return true;
}

bool ControlService(Handle service, uint32_t control, ServiceStatus& status) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("ControlService", NameOf(service) + L" " + std::to_wstring(control))) return false;
  if (control != kServiceControlStop) return Fail(kErrorInvalidParameter);
  sim::Service* s = Granted(service, kServiceStop);
  if (!s) return false;
  if (s->state == kServiceStopped) return Fail(kErrorServiceNotActive);
  if (s->state != kServiceRunning) return Fail(kErrorServiceCannotAcceptCtrl);
  if (s->stopError) return Fail(s->stopError);
  if (!Scm().ActiveDependents(s->name).empty()) return Fail(kErrorDependentServicesRunning);
  Scm().BeginStop(*s, sim::machine().clock.NowMs());
  status = {s->state, s->waitHint};
  return true;
}

bool EnumDependentServicesW(Handle service, std::vector<std::wstring>& names) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("EnumDependentServicesW", NameOf(service))) return false;
  sim::Service* s = Granted(service, kServiceEnumerateDependents);
  if (!s) return false;
  names = Scm().ActiveDependents(s->name);
  return true;
}

bool StartServiceW(Handle service) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("StartServiceW", NameOf(service))) return false;
  sim::Service* s = Granted(service, kServiceStart);
  if (!s) return false;
  if (s->state != kServiceStopped) return Fail(kErrorServiceAlreadyRunning);
  if (s->startError) return Fail(s->startError);
  Scm().BeginStart(*s, sim::machine().clock.NowMs());
  if (s->startRaces > 0) return --s->startRaces, Fail(kErrorServiceAlreadyRunning);
  return true;
}

bool CloseServiceHandle(Handle handle) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("CloseServiceHandle", NameOf(handle))) return false;
  return Scm().open.erase(sim::Id(handle)) ? true : Fail(kErrorInvalidHandle);
}

}  // namespace plat
