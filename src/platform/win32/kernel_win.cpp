#include <windows.h>

#include <vector>

#include "platform/kernel.h"

namespace plat {

void Sleep(uint32_t milliseconds) { ::Sleep(milliseconds); }
uint32_t GetTickCount() { return ::GetTickCount(); }

void GetLocalTime(SystemTime& time) {
  SYSTEMTIME st{};
  ::GetLocalTime(&st);
  time = {st.wYear, st.wMonth, st.wDayOfWeek, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

std::wstring GetModuleFileNameW(uint32_t capacity) {
  std::vector<wchar_t> buffer(capacity + 1, L'\0');
  DWORD n = ::GetModuleFileNameW(nullptr, buffer.data(), capacity);
  return std::wstring(buffer.data(), n);
}

bool GetNativeSystemInfo(SystemInfo& info) {
  using Fn = void(WINAPI*)(LPSYSTEM_INFO);
  HMODULE kernel32 = ::GetModuleHandleW(L"kernel32.dll");
  auto fn = kernel32 ? reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(kernel32, "GetNativeSystemInfo"))) : nullptr;
  if (!fn) return false;
  SYSTEM_INFO si{};
  fn(&si);
  info.processorArchitecture = si.wProcessorArchitecture;
  return true;
}

bool GetNativeMachine(uint16_t& machine) {
  using Fn = BOOL(WINAPI*)(HANDLE, USHORT*, USHORT*);
  HMODULE kernel32 = ::GetModuleHandleW(L"kernel32.dll");
  auto fn = kernel32 ? reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(kernel32, "IsWow64Process2"))) : nullptr;
  USHORT process = 0, native = 0;
  if (!fn || !fn(::GetCurrentProcess(), &process, &native)) return false;
  machine = native;
  return true;
}

void GetSystemInfo(SystemInfo& info) {
  SYSTEM_INFO si{};
  ::GetSystemInfo(&si);
  info.processorArchitecture = si.wProcessorArchitecture;
}

bool GetVersionExW(OsVersionInfo& info) {
  // Room for the larger form; a size the API does not know never reaches it.
  OSVERSIONINFOEXW vi{};
  if (info.size != sizeof(OSVERSIONINFOW) && info.size != sizeof(OSVERSIONINFOEXW)) {
    ::SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return false;
  }
  vi.dwOSVersionInfoSize = info.size;
  if (!::GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&vi))) return false;
  info.majorVersion = vi.dwMajorVersion;
  info.minorVersion = vi.dwMinorVersion;
  info.buildNumber = vi.dwBuildNumber;
  info.platformId = vi.dwPlatformId;
  return true;
}

void OutputDebugStringW(const std::wstring& text) { ::OutputDebugStringW(text.c_str()); }

bool FormatMessageW(uint32_t code, std::wstring& text) {
  wchar_t* buffer = nullptr;
  DWORD n = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code,
                             MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPWSTR>(&buffer), 0,
                             nullptr);
  if (n == 0 || !buffer) return false;
  text.assign(buffer, n);
  ::LocalFree(buffer);
  return true;
}

}  // namespace plat
