// Named kernel objects that processes meet by name: a mutex and events.
#pragma once
#include <cstdint>
#include <string>

#include "platform/handle.h"

namespace plat {

constexpr uint32_t kWaitObject0 = 0;
constexpr uint32_t kWaitAbandoned = 0x80;
constexpr uint32_t kWaitTimeout = 0x102;
constexpr uint32_t kWaitFailed = 0xFFFFFFFF;

// Named objects are created with a DACL that admits Administrators and
// SYSTEM only.

// A private namespace whose boundary requires the Administrators group,
// created or, when it exists, opened: only an elevated administrator can
// do either, so no standard user's process can take a name in it first.
// Names in it are `alias` + "\\" + name. Null with the last error where the
// system has none (ERROR_CALL_NOT_IMPLEMENTED) or refuses it.
Handle OpenAdministratorsNamespace(const std::wstring& boundaryName, const std::wstring& alias);
struct ClosePrivateNamespaceHandle {
  void operator()(Handle h) const;
};
using NamespaceHandle = UniqueHandle<ClosePrivateNamespaceHandle>;

// CreateMutexW without initial owner: opens the mutex when it exists.
Handle CreateMutexW(const std::wstring& name);
bool ReleaseMutex(Handle mutex);
// WaitForSingleObject on a mutex or event; one of the kWait values.
uint32_t WaitForSingleObject(Handle object, uint32_t timeoutMs);
// CreateEventW: a manual-reset event, set at once.
Handle CreateEventW(const std::wstring& name);
// OpenEventW with SYNCHRONIZE; null when no event of that name exists.
Handle OpenEventW(const std::wstring& name);

struct CloseSyncObject {
  void operator()(Handle h) const;
};
using SyncHandle = UniqueHandle<CloseSyncObject>;

}  // namespace plat
