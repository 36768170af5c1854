#include <windows.h>

#include <vector>

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

bool EnumDependentServicesW(Handle service, std::vector<std::wstring>& names) {
  names.clear();
  DWORD needed = 0, count = 0;
  // The first call with no room answers the size, or success when none runs.
  if (::EnumDependentServicesW(Sc(service), SERVICE_ACTIVE, nullptr, 0, &needed, &count)) return true;
  if (::GetLastError() != ERROR_MORE_DATA) return false;
  std::vector<unsigned char> buffer(needed);
  auto* entries = reinterpret_cast<ENUM_SERVICE_STATUSW*>(buffer.data());
  if (!::EnumDependentServicesW(Sc(service), SERVICE_ACTIVE, entries, needed, &needed, &count)) return false;
  for (DWORD i = 0; i < count; ++i) names.emplace_back(entries[i].lpServiceName);
  return true;
}

bool StartServiceW(Handle service) { return ::StartServiceW(Sc(service), 0, nullptr) != FALSE; }

bool CloseServiceHandle(Handle handle) { return ::CloseServiceHandle(Sc(handle)) != FALSE; }

}  // namespace plat
