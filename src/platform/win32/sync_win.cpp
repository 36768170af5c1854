#include <windows.h>

#include "platform/sync.h"

namespace plat {

Handle CreateMutexW(const std::wstring& name) { return ::CreateMutexW(nullptr, FALSE, name.c_str()); }

bool ReleaseMutex(Handle mutex) { return ::ReleaseMutex(mutex) != FALSE; }

uint32_t WaitForSingleObject(Handle object, uint32_t timeoutMs) { return ::WaitForSingleObject(object, timeoutMs); }

Handle CreateEventW(const std::wstring& name) { return ::CreateEventW(nullptr, TRUE, TRUE, name.c_str()); }

Handle OpenEventW(const std::wstring& name) { return ::OpenEventW(SYNCHRONIZE, FALSE, name.c_str()); }

void CloseSyncObject::operator()(Handle h) const { ::CloseHandle(h); }

}  // namespace plat
