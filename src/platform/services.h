// The service control manager: open, query, stop and start services.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/handle.h"

namespace plat {

// Access rights of the service manager and of one service.
constexpr uint32_t kScManagerAllAccess = 0xF003F;
constexpr uint32_t kGenericExecute = 0x20000000;
constexpr uint32_t kServiceAllAccess = 0xF01FF;
constexpr uint32_t kServiceQueryStatus = 0x4;
constexpr uint32_t kServiceStart = 0x10;
constexpr uint32_t kServiceStop = 0x20;
constexpr uint32_t kServiceEnumerateDependents = 0x8;

constexpr uint32_t kServiceControlStop = 1;

// dwCurrentState values.
constexpr uint32_t kServiceStopped = 1;
constexpr uint32_t kServiceStartPending = 2;
constexpr uint32_t kServiceStopPending = 3;
constexpr uint32_t kServiceRunning = 4;

struct ServiceStatus {
  uint32_t currentState = 0;
  uint32_t waitHint = 0;  // dwWaitHint, milliseconds
};

// OpenSCManagerW on the local machine's active database; null on failure.
Handle OpenSCManagerW(uint32_t access);
// Null on failure.
Handle OpenServiceW(Handle manager, const std::wstring& name, uint32_t access);
bool QueryServiceStatus(Handle service, ServiceStatus& status);
bool ControlService(Handle service, uint32_t control, ServiceStatus& status);
// EnumDependentServicesW for the active services that depend on `service`,
// directly or not, in the order they are to be stopped.
bool EnumDependentServicesW(Handle service, std::vector<std::wstring>& names);
// StartServiceW without arguments.
bool StartServiceW(Handle service);
bool CloseServiceHandle(Handle handle);

struct CloseService {
  void operator()(Handle h) const { CloseServiceHandle(h); }
};
// Both close with CloseServiceHandle; the names say which kind is held.
using ScManagerHandle = UniqueHandle<CloseService>;
using ServiceHandle = UniqueHandle<CloseService>;

}  // namespace plat
