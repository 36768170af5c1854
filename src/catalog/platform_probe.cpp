#include "catalog/platform_probe.h"

#include "platform/kernel.h"

bool IsNative64Bit() {
  plat::SystemInfo info;
  if (!plat::GetNativeSystemInfo(info)) plat::GetSystemInfo(info);
  return info.processorArchitecture == plat::kProcessorArchitectureAmd64 ||
         info.processorArchitecture == plat::kProcessorArchitectureIa64;
}

bool IsArm64Windows() {
  uint16_t machine = 0;
  if (plat::GetNativeMachine(machine)) return machine == plat::kImageMachineArm64;
  plat::SystemInfo info;
  return plat::GetNativeSystemInfo(info) && info.processorArchitecture == plat::kProcessorArchitectureArm64;
}

// Windows on ARM64 runs x86 programs too, but has no x64 install program to
// hand to: the installation is refused in this process.
bool RunsUnderWow64() {
  plat::SystemInfo own;
  plat::GetSystemInfo(own);
  return own.processorArchitecture == plat::kProcessorArchitectureIntel && IsNative64Bit() && !IsArm64Windows();
}

int GetWindowsFamilyCode() {
  plat::OsVersionInfo version;
  version.size = plat::kOsVersionInfoSize;
  plat::GetVersionExW(version);  // a failed call leaves the record zeroed
  if (version.platformId != plat::kPlatformWin32Nt) return version.platformId == plat::kPlatformWin32Windows ? 0 : 1;
  bool is64 = IsNative64Bit();
  if (version.majorVersion <= 5) return is64 ? 2 : 1;
  return is64 ? 4 : 3;
}
