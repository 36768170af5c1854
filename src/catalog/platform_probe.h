// Platform probes: native 64-bit Windows, and the coarse Windows family code.
#pragma once

// True when the native processor architecture is AMD64 (9) or IA64 (6), asked
// through GetNativeSystemInfo where kernel32 exports it: a 32-bit process sees
// x86 through GetSystemInfo alone.
bool IsNative64Bit();

// True on Windows for ARM64 processors, for which the package has no branch:
// asked through IsWow64Process2 where it exists, since an emulated x86
// process is not told the truth by GetNativeSystemInfo; else the native
// architecture 12.
bool IsArm64Windows();

// True in a 32-bit process on 64-bit Windows (WoW64): there the spooler's
// null environment, the driver folder and SetupAPI are the x86 ones, so the
// installation belongs to the 64-bit install program.
bool RunsUnderWow64();

// 0 Windows 9x; 1 other or NT <= 5 on 32 bits; 2 NT <= 5 on 64 bits;
// 3 NT >= 6 on 32 bits; 4 NT >= 6 on 64 bits.
int GetWindowsFamilyCode();
