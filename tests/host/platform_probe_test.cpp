#include <gtest/gtest.h>

#include "catalog/platform_probe.h"
#include "platform/error.h"
#include "sim_test.h"

namespace {

class PlatformProbeTest : public SimTest {
 protected:
  void SetWindows(uint32_t platformId, uint32_t major, uint16_t nativeArch) {
    M().kernel.version.platformId = platformId;
    M().kernel.version.majorVersion = major;
    M().kernel.nativeArchitecture = nativeArch;
  }
};

TEST_F(PlatformProbeTest, NativeQueryDecidesAlthoughTheProcessSeesX86) {
  M().kernel.processArchitecture = plat::kProcessorArchitectureIntel;
  for (uint16_t arch : {plat::kProcessorArchitectureAmd64, plat::kProcessorArchitectureIa64}) {
    M().kernel.nativeArchitecture = arch;
    EXPECT_TRUE(IsNative64Bit()) << arch;
  }
  for (uint16_t arch : {plat::kProcessorArchitectureIntel, plat::kProcessorArchitectureArm64}) {
    M().kernel.nativeArchitecture = arch;
    EXPECT_FALSE(IsNative64Bit()) << arch;
  }
}

TEST_F(PlatformProbeTest, WithoutGetNativeSystemInfoTheAnswerComesFromGetSystemInfo) {
  M().kernel.nativeSystemInfoExported = false;
  M().kernel.nativeArchitecture = plat::kProcessorArchitectureAmd64;
  M().kernel.processArchitecture = plat::kProcessorArchitectureIntel;
  EXPECT_FALSE(IsNative64Bit());
  M().kernel.processArchitecture = plat::kProcessorArchitectureAmd64;
  EXPECT_TRUE(IsNative64Bit());
  EXPECT_EQ(M().transcript.Count("GetSystemInfo"), 2u);
}

TEST_F(PlatformProbeTest, FamilyCodes) {
  SetWindows(plat::kPlatformWin32Nt, 5, plat::kProcessorArchitectureIntel);  // XP
  EXPECT_EQ(GetWindowsFamilyCode(), 1);
  SetWindows(plat::kPlatformWin32Nt, 5, plat::kProcessorArchitectureAmd64);  // XP x64
  EXPECT_EQ(GetWindowsFamilyCode(), 2);
  SetWindows(plat::kPlatformWin32Nt, 6, plat::kProcessorArchitectureAmd64);  // 7 x64
  EXPECT_EQ(GetWindowsFamilyCode(), 4);
  SetWindows(plat::kPlatformWin32Nt, 10, plat::kProcessorArchitectureIntel);  // 10 x86
  EXPECT_EQ(GetWindowsFamilyCode(), 3);
  SetWindows(plat::kPlatformWin32Windows, 4, plat::kProcessorArchitectureIntel);  // 98
  EXPECT_EQ(GetWindowsFamilyCode(), 0);
  SetWindows(0, 3, plat::kProcessorArchitectureIntel);  // Win32s
  EXPECT_EQ(GetWindowsFamilyCode(), 1);
}

TEST_F(PlatformProbeTest, FailedVersionQueryGivesCodeOne) {
  M().faults.Fail("GetVersionExW", plat::kErrorInvalidParameter);
  EXPECT_EQ(GetWindowsFamilyCode(), 1);
}

}  // namespace
