// The platform probes against Wine's real system information.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>

#include "catalog/platform_probe.h"

namespace {

bool PrefixIs64Bit() {
  const char* arch = std::getenv("QX_WINE_ARCH");
  return arch && std::string(arch) == "win64";
}

TEST(PlatformProbeWinTest, NativeArchitectureFollowsThePrefix) {
  EXPECT_EQ(IsNative64Bit(), PrefixIs64Bit());
  SYSTEM_INFO si{};
  GetSystemInfo(&si);
  // The process's own view: a 32-bit process sees an Intel machine even on x64.
  EXPECT_EQ(si.wProcessorArchitecture, sizeof(void*) == 8 ? PROCESSOR_ARCHITECTURE_AMD64 : PROCESSOR_ARCHITECTURE_INTEL);
}

TEST(PlatformProbeWinTest, FamilyCodeIsNtSixOrLater) {
  EXPECT_EQ(GetWindowsFamilyCode(), PrefixIs64Bit() ? 4 : 3);
}

}  // namespace
