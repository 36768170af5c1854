// Kernel services: time, pauses, module path, system information, version,
// debugger output and system message texts.
#pragma once
#include <cstdint>
#include <string>

namespace plat {

struct SystemTime {
  uint16_t year = 0, month = 0, dayOfWeek = 0, day = 0;
  uint16_t hour = 0, minute = 0, second = 0, milliseconds = 0;
};

struct SystemInfo {
  uint16_t processorArchitecture = 0;  // wProcessorArchitecture
};

constexpr uint16_t kProcessorArchitectureIntel = 0;
constexpr uint16_t kProcessorArchitectureIa64 = 6;
constexpr uint16_t kProcessorArchitectureAmd64 = 9;
constexpr uint16_t kProcessorArchitectureArm64 = 12;

struct OsVersionInfo {
  uint32_t size = 0;  // dwOSVersionInfoSize: 276 (OSVERSIONINFOW) or 284 (OSVERSIONINFOEXW)
  uint32_t majorVersion = 0, minorVersion = 0, buildNumber = 0, platformId = 0;
};

constexpr uint32_t kOsVersionInfoSize = 276;
constexpr uint32_t kOsVersionInfoExSize = 284;
constexpr uint32_t kPlatformWin32Windows = 1;
constexpr uint32_t kPlatformWin32Nt = 2;

void Sleep(uint32_t milliseconds);
uint32_t GetTickCount();
void GetLocalTime(SystemTime& time);

// Full path of the running executable as it fits a buffer of `capacity` units
// (truncated like GetModuleFileNameW); empty on failure.
std::wstring GetModuleFileNameW(uint32_t capacity);

// Looks GetNativeSystemInfo up by name in the loaded kernel32.dll
// (GetModuleHandleW + GetProcAddress) and calls it. False when not exported.
bool GetNativeSystemInfo(SystemInfo& info);
void GetSystemInfo(SystemInfo& info);

// Image machine types as IsWow64Process2 reports them.
constexpr uint16_t kImageMachineUnknown = 0;
constexpr uint16_t kImageMachineI386 = 0x14C;
constexpr uint16_t kImageMachineAmd64 = 0x8664;
constexpr uint16_t kImageMachineArm64 = 0xAA64;
// Looks IsWow64Process2 up by name in kernel32.dll (Windows 10 1511 and
// later) and asks it about this process: the machine of the Windows it runs
// on. False when not exported or when the call fails.
bool GetNativeMachine(uint16_t& machine);

// The caller fills info.size; false leaves the other fields as they were.
// GetVersionExW: fails with ERROR_INSUFFICIENT_BUFFER for any other size.
bool GetVersionExW(OsVersionInfo& info);

void OutputDebugStringW(const std::wstring& text);

// FormatMessageW(ALLOCATE_BUFFER | FROM_SYSTEM, language 0x400) for `code`.
// False when the system has no text; the allocated buffer is freed inside.
bool FormatMessageW(uint32_t code, std::wstring& text);

}  // namespace plat
