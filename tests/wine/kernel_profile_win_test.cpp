// Pass-throughs whose types differ from the API's: the version record the
// caller sizes, and profile numbers that the API declares unsigned.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/kernel.h"
#include "platform/profile.h"
#include "wine_support.h"

namespace {

TEST(KernelProfileWinTest, VersionAnswersBothRecordSizesAndRefusesOthers) {
  for (uint32_t size : {plat::kOsVersionInfoSize, plat::kOsVersionInfoExSize}) {
    plat::OsVersionInfo info;
    info.size = size;
    ASSERT_TRUE(plat::GetVersionExW(info)) << size;
    EXPECT_EQ(info.size, size);
    EXPECT_GE(info.majorVersion, 6u);
    EXPECT_EQ(info.platformId, plat::kPlatformWin32Nt);
  }
  plat::OsVersionInfo info;
  info.size = 4096;  // would be the API's to write into
  EXPECT_FALSE(plat::GetVersionExW(info));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(info.majorVersion, 0u);
}

TEST(KernelProfileWinTest, NegativeProfileNumbersComeBackNegative) {
  wchar_t temp[MAX_PATH];
  ASSERT_NE(GetTempPathW(MAX_PATH, temp), 0u);
  const std::wstring path = std::wstring(temp) + L"qx_profile_int.ini";
  wine::WriteAll(path, "[s]\r\nminus=-5\r\nplus=12\r\n");
  EXPECT_LT(plat::GetPrivateProfileIntW(L"s", L"minus", 0, path), 0);
  EXPECT_EQ(plat::GetPrivateProfileIntW(L"s", L"minus", 0, path), -5);
  EXPECT_EQ(plat::GetPrivateProfileIntW(L"s", L"plus", 0, path), 12);
  EXPECT_EQ(plat::GetPrivateProfileIntW(L"s", L"absent", -1, path), -1);
  DeleteFileW(path.c_str());
}

}  // namespace
