#include "engine/installation_lock.h"

#include "platform/kernel.h"
#include "platform/process.h"

namespace {

const wchar_t kBoundaryName[] = L"QuillexDriverSetup";
const wchar_t kNamespaceAlias[] = L"Quillex";
const wchar_t kGlobalPrefix[] = L"Global";
const wchar_t kLockObject[] = L"QuillexDriverSetup";

std::wstring HandoffEventName(const CInstallerNamespace& space, const std::wstring& token) {
  return space.Name(std::wstring(kLockObject) + L".Handoff." + token);
}

}  // namespace

const wchar_t kInstallationMutexName[] = L"Quillex\\QuillexDriverSetup";
const wchar_t kInstallationMutexFallbackName[] = L"Global\\QuillexDriverSetup";
const wchar_t kAnotherInstallationText[] = L"另一个打印机驱动安装正在运行，请等它结束后再试。";

CInstallerNamespace::CInstallerNamespace()
    : m_namespace(plat::OpenAdministratorsNamespace(kBoundaryName, kNamespaceAlias)) {}

std::wstring CInstallerNamespace::Name(const std::wstring& objectName) const {
  return std::wstring(m_namespace ? kNamespaceAlias : kGlobalPrefix) + L"\\" + objectName;
}

bool CInstallationLock::Acquire() {
  if (m_bHeld) return true;
  if (!m_mutex) m_mutex = plat::SyncHandle(plat::CreateMutexW(m_namespace.Name(kLockObject)));
  if (!m_mutex) return false;
  const uint32_t wait = plat::WaitForSingleObject(m_mutex.get(), 0);
  m_bHeld = wait == plat::kWaitObject0 || wait == plat::kWaitAbandoned;
  return m_bHeld;
}

CInstallationLock::~CInstallationLock() {
  if (m_bHeld) plat::ReleaseMutex(m_mutex.get());
}

CLockHandoff::CLockHandoff()
    : m_strToken(std::to_wstring(plat::GetCurrentProcessId()) + L"." + std::to_wstring(plat::GetTickCount())),
      m_event(plat::CreateEventW(HandoffEventName(m_namespace, m_strToken))) {}

bool IsLockHandedOff(const std::wstring& token) {
  if (token.empty()) return false;
  const CInstallerNamespace space;
  return plat::SyncHandle(plat::OpenEventW(HandoffEventName(space, token))).valid();
}
