// DLLs taken from the system folder only. The installer runs elevated, mostly
// from a download folder, where a DLL named like one it uses may lie beside
// it. The loader resolves static imports before wWinMain, searching the
// program's folder first, so the program imports statically only Windows'
// known DLLs (always mapped from the system folder, with their own imports)
// and COMCTL32 (bound to the side-by-side assembly by the manifest). Every
// other DLL is bound here on first use, from the system folder.
#pragma once
#include <windows.h>

#include <cstdint>
#include <mutex>

#include "platform/dll_search.h"

namespace plat {

// Loads `name` from the system folder; nullptr with the thread's last error.
HMODULE LoadSystemLibrary(const wchar_t* name);

// One DLL of the system folder, loaded on its first use from any thread (once)
// and kept until the process ends, as a static import would be: a thread may
// still be inside it when the process exits.
class SystemLibrary {
 public:
  explicit constexpr SystemLibrary(const wchar_t* name) : m_name(name) {}
  SystemLibrary(const SystemLibrary&) = delete;
  SystemLibrary& operator=(const SystemLibrary&) = delete;

  // The module; nullptr with the load's error as the last error
  // (ERROR_MOD_NOT_FOUND for a missing DLL), on every call.
  HMODULE Module();
  // An entry point by name, or by ordinal through MAKEINTRESOURCEA; nullptr
  // with the load's error or ERROR_PROC_NOT_FOUND as the last error.
  FARPROC Address(const char* name);

 private:
  const wchar_t* m_name;
  std::once_flag m_once;
  HMODULE m_module = nullptr;
  DWORD m_error = ERROR_SUCCESS;
};

// One entry point of a SystemLibrary as a function pointer of type Fn,
// looked up once. Get() answers nullptr with the last error set, so that the
// calling backend fails as the call itself would.
template <typename Fn>
class SystemProc {
 public:
  constexpr SystemProc(SystemLibrary& library, const char* name) : m_library(library), m_name(name) {}
  constexpr SystemProc(SystemLibrary& library, uint16_t ordinal) : m_library(library), m_ordinal(ordinal) {}
  SystemProc(const SystemProc&) = delete;
  SystemProc& operator=(const SystemProc&) = delete;

  Fn Get() {
    std::call_once(m_once, [this] {
      m_address = m_library.Address(m_name ? m_name : MAKEINTRESOURCEA(m_ordinal));
      if (!m_address) m_error = ::GetLastError();
    });
    if (!m_address) ::SetLastError(m_error);
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(m_address));
  }

 private:
  SystemLibrary& m_library;
  const char* m_name = nullptr;
  uint16_t m_ordinal = 0;
  std::once_flag m_once;
  FARPROC m_address = nullptr;
  DWORD m_error = ERROR_SUCCESS;
};

}  // namespace plat
