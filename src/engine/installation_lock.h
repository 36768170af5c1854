// One installation at a time on the machine: a named mutex in the global
// namespace ("Global\\..."), held by the wizard from start to exit and by the install
// program while it installs.
//
// The wizard on 64-bit Windows hands its job to the 64-bit install program
// while it holds the lock itself: for that run it sets a handoff event whose
// token the program receives on its command line, and the program installs
// under the wizard's lock.
#pragma once
#include <string>

#include "platform/sync.h"

extern const wchar_t kInstallationMutexName[];  // "Global\QuillexDriverSetup"

class CInstallationLock {
 public:
  // True when this process now holds the lock (an owner that died without
  // releasing it counts as gone); false while another process holds it.
  bool Acquire();
  bool Held() const { return m_bHeld; }
  ~CInstallationLock();

 private:
  plat::SyncHandle m_mutex;
  bool m_bHeld = false;
};

// The event that lends the holder's lock to one started program.
class CLockHandoff {
 public:
  CLockHandoff();  // creates the event under a token of this process and moment
  const std::wstring& Token() const { return m_strToken; }
  bool Valid() const { return m_event.valid(); }

 private:
  std::wstring m_strToken;
  plat::SyncHandle m_event;
};

// Whether a holder lends its lock under `token`.
bool IsLockHandedOff(const std::wstring& token);
