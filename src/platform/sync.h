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
