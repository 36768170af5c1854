#include "engine/installation_lock.h"

#include "platform/kernel.h"
#include "platform/process.h"

const wchar_t kInstallationMutexName[] = L"Global\\QuillexDriverSetup";

namespace {

std::wstring HandoffEventName(const std::wstring& token) {
  return std::wstring(kInstallationMutexName) + L".Handoff." + token;
}

}  // namespace

bool CInstallationLock::Acquire() {
  if (m_bHeld) return true;
  if (!m_mutex) m_mutex = plat::SyncHandle(plat::CreateMutexW(kInstallationMutexName));
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
      m_event(plat::CreateEventW(HandoffEventName(m_strToken))) {}

bool IsLockHandedOff(const std::wstring& token) {
  return !token.empty() && plat::SyncHandle(plat::OpenEventW(HandoffEventName(token))).valid();
}
