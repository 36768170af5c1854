// One installation at a time on the machine: a named mutex, held by the
// wizard from start to exit and by the install program while it installs.
// It lies in a private namespace whose boundary requires the Administrators
// group, where no standard user's process can create it first and hold it.
// Where the system has no private namespaces (Wine), it lies in the global
// namespace, admitting Administrators and SYSTEM only.
//
// The wizard on 64-bit Windows hands its job to the 64-bit install program
// while it holds the lock itself: for that run it sets a handoff event whose
// token the program receives on its command line, and the program installs
// under the wizard's lock.
#pragma once
#include <string>

#include "platform/sync.h"

extern const wchar_t kInstallationMutexName[];          // "Quillex\QuillexDriverSetup"
extern const wchar_t kInstallationMutexFallbackName[];  // "Global\QuillexDriverSetup"

// What a second installer says when another holds the lock and has no
// window to bring to the front.
extern const wchar_t kAnotherInstallationText[];

// The installer's namespace, held open while its objects are in use.
class CInstallerNamespace {
 public:
  CInstallerNamespace();
  // `objectName` ("QuillexDriverSetup...") as named in the namespace, or in the
  // global one where there is none.
  std::wstring Name(const std::wstring& objectName) const;

 private:
  plat::NamespaceHandle m_namespace;
};

class CInstallationLock {
 public:
  // True when this process now holds the lock (an owner that died without
  // releasing it counts as gone); false while another process holds it.
  bool Acquire();
  bool Held() const { return m_bHeld; }
  ~CInstallationLock();

 private:
  CInstallerNamespace m_namespace;
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
  CInstallerNamespace m_namespace;
  std::wstring m_strToken;
  plat::SyncHandle m_event;
};

// Whether a holder lends its lock under `token`.
bool IsLockHandedOff(const std::wstring& token);
