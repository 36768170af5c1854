#include <windows.h>

#include "platform/services.h"

namespace plat {

namespace {

SC_HANDLE Sc(Handle h) { return static_cast<SC_HANDLE>(h); }

void Fill(const SERVICE_STATUS& s, ServiceStatus& status) {
  status.currentState = s.dwCurrentState;
  status.waitHint = s.dwWaitHint;
}

}  // namespace

Handle OpenSCManagerW(uint32_t access) { return ::OpenSCManagerW(nullptr, nullptr, access); }

Handle OpenServiceW(Handle manager, const std::wstring& name, uint32_t access) {
  return ::OpenServiceW(Sc(manager), name.c_str(), access);
}

bool QueryServiceStatus(Handle service, ServiceStatus& status) {
  SERVICE_STATUS s{};
  if (!::QueryServiceStatus(Sc(service), &s)) return false;
  Fill(s, status);
  return true;
}

bool ControlService(Handle service, uint32_t control, ServiceStatus& status) {
  SERVICE_STATUS s{};
  if (!::ControlService(Sc(service), control, &s)) return false;
  Fill(s, status);
  return true;
}

bool StartServiceW(Handle service) { return ::StartServiceW(Sc(service), 0, nullptr) != FALSE; }

bool CloseServiceHandle(Handle handle) { return ::CloseServiceHandle(Sc(handle)) != FALSE; }

}  // namespace plat
