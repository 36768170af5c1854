#include <thread>
#include <utility>

#include "platform/error.h"
#include "platform/sim/machine.h"
#include "platform/sync.h"

namespace plat {

namespace {

Handle OpenNamed(const std::wstring& name, bool mutex, bool create) {
  sim::NamedObjects& objects = sim::machine().namedObjects;
  auto it = objects.byName.find(name);
  if (it == objects.byName.end()) {
    if (!create) {
      SetLastError(kErrorFileNotFound);
      return nullptr;
    }
    it = objects.byName.emplace(name, sim::NamedObjects::Object{}).first;
    it->second.mutex = mutex;
    SetLastError(kErrorSuccess);
  } else {
    if (it->second.mutex != mutex) {
      SetLastError(6);  // ERROR_INVALID_HANDLE: a name taken by an object of another kind
      return nullptr;
    }
    SetLastError(kErrorAlreadyExists);
  }
  ++it->second.handles;
  Handle handle = sim::machine().NewHandle();
  objects.open[sim::Id(handle)] = name;
  return handle;
}

sim::NamedObjects::Object* Opened(Handle handle) {
  sim::NamedObjects& objects = sim::machine().namedObjects;
  auto it = objects.open.find(sim::Id(handle));
  return it == objects.open.end() ? nullptr : &objects.byName[it->second];
}

}  // namespace

Handle OpenAdministratorsNamespace(const std::wstring& boundaryName, const std::wstring& alias) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("CreatePrivateNamespaceW", boundaryName + L" " + alias)) return nullptr;
  if (!sim::machine().namedObjects.privateNamespaces) {
    SetLastError(kErrorCallNotImplemented);
    return nullptr;
  }
  if (!sim::machine().processes.elevated) {
    SetLastError(kErrorAccessDenied);  // the token lacks the boundary's group, enabled
    return nullptr;
  }
  Handle handle = sim::machine().NewHandle();
  sim::machine().namedObjects.namespaces[sim::Id(handle)] = alias;
  return handle;
}

void ClosePrivateNamespaceHandle::operator()(Handle h) const {
  auto lock = sim::machine().Lock();
  sim::Enter("ClosePrivateNamespace");
  sim::machine().namedObjects.namespaces.erase(sim::Id(h));
}

Handle CreateMutexW(const std::wstring& name) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("CreateMutexW", name)) return nullptr;
  return OpenNamed(name, true, true);
}

bool ReleaseMutex(Handle mutex) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("ReleaseMutex")) return false;
  sim::NamedObjects::Object* object = Opened(mutex);
  if (!object || !object->mutex || object->owner != std::this_thread::get_id()) {
    SetLastError(288);  // ERROR_NOT_OWNER
    return false;
  }
  if (--object->recursion == 0) object->owner.reset();
  return true;
}

uint32_t WaitForSingleObject(Handle handle, uint32_t timeoutMs) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("WaitForSingleObject")) return kWaitFailed;
  sim::NamedObjects::Object* object = Opened(handle);
  if (!object) {
    SetLastError(kErrorInvalidHandle);
    return kWaitFailed;
  }
  if (!object->mutex) return kWaitObject0;  // events are set from their creation
  if (object->owner && object->owner != std::this_thread::get_id()) {
    sim::machine().clock.Advance(timeoutMs);
    return kWaitTimeout;
  }
  object->owner = std::this_thread::get_id();
  object->ownerProcess = sim::ProcessId();
  ++object->recursion;
  return std::exchange(object->abandoned, false) ? kWaitAbandoned : kWaitObject0;
}

Handle CreateEventW(const std::wstring& name) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("CreateEventW", name)) return nullptr;
  return OpenNamed(name, false, true);
}

Handle OpenEventW(const std::wstring& name) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("OpenEventW", name)) return nullptr;
  return OpenNamed(name, false, false);
}

void CloseSyncObject::operator()(Handle h) const {
  auto lock = sim::machine().Lock();
  sim::Enter("CloseHandle", L"sync");
  sim::NamedObjects& objects = sim::machine().namedObjects;
  auto it = objects.open.find(sim::Id(h));
  if (it == objects.open.end()) return;
  auto object = objects.byName.find(it->second);
  if (--object->second.handles == 0) objects.byName.erase(object);
  objects.open.erase(it);
}

}  // namespace plat
