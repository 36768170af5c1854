#include "platform/win32/system_library.h"

#include <string>

namespace plat {

namespace {

// Looked up rather than imported: a Windows without them must still start the program.
FARPROC Kernel32Export(const char* name) {
  HMODULE kernel32 = ::GetModuleHandleW(L"kernel32.dll");
  return kernel32 ? ::GetProcAddress(kernel32, name) : nullptr;
}

template <typename Fn>
Fn Kernel32Function(const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(Kernel32Export(name)));
}

}  // namespace

bool RestrictDllSearchToSystemFolder() {
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  using SetDllDirectoryWFn = BOOL(WINAPI*)(LPCWSTR);
  auto setDefault = Kernel32Function<SetDefaultDllDirectoriesFn>("SetDefaultDllDirectories");
  if (setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) return true;
  if (auto setDirectory = Kernel32Function<SetDllDirectoryWFn>("SetDllDirectoryW")) setDirectory(L"");
  return false;
}

HMODULE LoadSystemLibrary(const wchar_t* name) {
  HMODULE module = ::LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  // Windows without the search flags refuses them as an invalid parameter:
  // there the full name in the system folder, whose own imports are then
  // looked up in that folder first.
  if (module || ::GetLastError() != ERROR_INVALID_PARAMETER) return module;
  wchar_t folder[MAX_PATH];
  UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) {
    ::SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  std::wstring path(folder, length);
  path += L'\\';
  path += name;
  return ::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

HMODULE SystemLibrary::Module() {
  std::call_once(m_once, [this] {
    m_module = LoadSystemLibrary(m_name);
    if (!m_module) m_error = ::GetLastError() ? ::GetLastError() : ERROR_MOD_NOT_FOUND;
  });
  if (!m_module) ::SetLastError(m_error);
  return m_module;
}

FARPROC SystemLibrary::Address(const char* name) {
  HMODULE module = Module();
  if (!module) return nullptr;
  FARPROC address = ::GetProcAddress(module, name);
  if (!address) ::SetLastError(ERROR_PROC_NOT_FOUND);
  return address;
}

}  // namespace plat
