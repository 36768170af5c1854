#include <windows.h>

#include <string>

#include "platform/error.h"
#include "platform/sync.h"
#include "platform/win32/security_attributes.h"

namespace plat {

namespace {

// Full access for Administrators and SYSTEM, nobody else, nothing inherited.
const wchar_t kAdministratorsOnlyObject[] = L"D:P(A;;GA;;;BA)(A;;GA;;;SY)";

// The namespace calls, looked up in kernel32 where they exist (Vista and
// later; Wine exports some as stubs only), so that the program loads anyway.
template <typename Fn>
Fn Kernel32(const char* name) {
  HMODULE kernel32 = ::GetModuleHandleW(L"kernel32.dll");
  return kernel32 ? reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(kernel32, name))) : nullptr;
}
const auto s_createBoundary = Kernel32<decltype(&::CreateBoundaryDescriptorW)>("CreateBoundaryDescriptorW");
const auto s_addSid = Kernel32<decltype(&::AddSIDToBoundaryDescriptor)>("AddSIDToBoundaryDescriptor");
const auto s_deleteBoundary = Kernel32<decltype(&::DeleteBoundaryDescriptor)>("DeleteBoundaryDescriptor");
const auto s_createNamespace = Kernel32<decltype(&::CreatePrivateNamespaceW)>("CreatePrivateNamespaceW");
const auto s_openNamespace = Kernel32<decltype(&::OpenPrivateNamespaceW)>("OpenPrivateNamespaceW");
const auto s_closeNamespace = Kernel32<decltype(&::ClosePrivateNamespace)>("ClosePrivateNamespace");

bool NamespacesExported() {
  return s_createBoundary && s_addSid && s_deleteBoundary && s_createNamespace && s_openNamespace && s_closeNamespace;
}

// The boundary: its name and the Administrators group.
class Boundary {
 public:
  explicit Boundary(const std::wstring& name)
      : m_handle(NamespacesExported() ? s_createBoundary(name.c_str(), 0) : nullptr) {}
  ~Boundary() {
    if (m_handle) s_deleteBoundary(m_handle);
  }
  Boundary(const Boundary&) = delete;
  Boundary& operator=(const Boundary&) = delete;
  // False where the system has no boundaries: Wine's CreateBoundaryDescriptorW
  // answers null without an error, and its CreatePrivateNamespaceW must then
  // never be called (it ends the process).
  bool AddAdministrators() {
    if (!m_handle) {
      if (::GetLastError() == ERROR_SUCCESS) ::SetLastError(kErrorCallNotImplemented);
      return false;
    }
    BYTE sid[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof(sid);
    return ::CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, sid, &size) &&
           s_addSid(&m_handle, sid);
  }
  HANDLE get() const { return m_handle; }

 private:
  HANDLE m_handle;
};

}  // namespace

Handle OpenAdministratorsNamespace(const std::wstring& boundaryName, const std::wstring& alias) {
  Boundary boundary(boundaryName);
  if (!boundary.AddAdministrators()) return nullptr;
  SecurityAttributes attributes(kAdministratorsOnlyObject);
  if (!attributes.get()) return nullptr;
  HANDLE space = s_createNamespace(attributes.get(), boundary.get(), alias.c_str());
  if (!space && ::GetLastError() == ERROR_ALREADY_EXISTS) space = s_openNamespace(boundary.get(), alias.c_str());
  return space;
}

void ClosePrivateNamespaceHandle::operator()(Handle h) const { s_closeNamespace(h, 0); }

Handle CreateMutexW(const std::wstring& name) {
  SecurityAttributes attributes(kAdministratorsOnlyObject);
  return ::CreateMutexW(attributes.get(), FALSE, name.c_str());
}

bool ReleaseMutex(Handle mutex) { return ::ReleaseMutex(mutex) != FALSE; }

uint32_t WaitForSingleObject(Handle object, uint32_t timeoutMs) { return ::WaitForSingleObject(object, timeoutMs); }

Handle CreateEventW(const std::wstring& name) {
  SecurityAttributes attributes(kAdministratorsOnlyObject);
  return ::CreateEventW(attributes.get(), TRUE, TRUE, name.c_str());
}

Handle OpenEventW(const std::wstring& name) { return ::OpenEventW(SYNCHRONIZE, FALSE, name.c_str()); }

void CloseSyncObject::operator()(Handle h) const { ::CloseHandle(h); }

}  // namespace plat
