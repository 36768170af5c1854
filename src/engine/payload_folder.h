// The files an elevated installer executes or hands to the system, copied
// before it reads any of them into a fresh folder that only Administrators
// and SYSTEM can write: the installed family's branch for this Windows (its
// INF among them), PrinterInfo.ini and the 64-bit install program. The
// folder is made with its security descriptor in the one call that creates
// it, as the Windows folder's "Temp\QuillexPayload.<process>.<tick>\". The
// checks, the staging, the registration and the start of the 64-bit program
// then read the copies, which no process of the user can swap.
//
// One object makes the folder and removes it, on every road; only a holder
// of the installation lock makes one, and it first removes what a killed
// run left behind (every folder of that pattern there).
#pragma once
#include <string>

extern const wchar_t kPayloadFolderPrefix[];  // "QuillexPayload."

class CPayloadFolder {
 public:
  CPayloadFolder() = default;
  CPayloadFolder(const CPayloadFolder&) = delete;
  CPayloadFolder& operator=(const CPayloadFolder&) = delete;
  // Removes the folder and reads the package beside the executable again.
  ~CPayloadFolder();

  // Makes the folder, copies into it and reads the package there from now
  // on. False, logged, when the folder cannot be made or a file that is
  // beside the executable cannot be copied; the package is then not read.
  bool Create();
  // Ends in "\"; empty before Create succeeded.
  const std::wstring& Folder() const { return m_strFolder; }

 private:
  std::wstring m_strFolder;
};

// The Windows folder's "Temp\", where payload folders are made; empty when
// the Windows folder cannot be found.
std::wstring PayloadParentFolder();

// Whether the running program lies where no standard user can write: below
// either Program Files folder, or, lent the lock by the installer that made
// it (`handedOff`), in a payload folder.
bool RunsFromAdministratorsFolder(bool handedOff);
