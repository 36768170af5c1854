#include "catalog/platform_probe.h"

#include "platform/kernel.h"

bool IsNative64Bit() {
  plat::SystemInfo info;
  if (!plat::GetNativeSystemInfo(info)) plat::GetSystemInfo(info);
  return info.processorArchitecture == plat::kProcessorArchitectureAmd64 ||
         info.processorArchitecture == plat::kProcessorArchitectureIa64;
}

bool RunsUnderWow64() {
  plat::SystemInfo own;
  plat::GetSystemInfo(own);
  return own.processorArchitecture == plat::kProcessorArchitectureIntel && IsNative64Bit();
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
