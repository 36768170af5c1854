// Pass-throughs whose types differ from the API's: the version record the
// caller sizes, and profile numbers that the API declares unsigned. The
// native machine, the installer's namespace and its administrators-only
// folder, as the real API answers them.
#include <gtest/gtest.h>
#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <string>

#include "engine/installation_lock.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/kernel.h"
#include "platform/profile.h"
#include "platform/sync.h"
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

// Wine 8 exports IsWow64Process2 and tells an x86-64 machine; Windows 10
// 1511 and later do too, ARM64 where it is one.
TEST(KernelProfileWinTest, TheNativeMachineComesFromIsWow64Process2) {
  uint16_t machine = 0;
  ASSERT_TRUE(plat::GetNativeMachine(machine));
  EXPECT_EQ(machine, plat::kImageMachineAmd64);
}

// Windows opens the administrators' namespace for an elevated process. Wine
// 8 has none (its CreateBoundaryDescriptorW answers null, and its
// CreatePrivateNamespaceW must not be called): the lock then lies in Global\.
TEST(KernelProfileWinTest, TheLockLiesInTheAdministratorsNamespaceOrInGlobal) {
  plat::NamespaceHandle space(plat::OpenAdministratorsNamespace(L"QuillexDriverSetup", L"Quillex"));
  if (!space) EXPECT_EQ(GetLastError(), DWORD(plat::kErrorCallNotImplemented));
  const CInstallerNamespace names;
  EXPECT_EQ(names.Name(L"QuillexDriverSetup"), space ? L"Quillex\\QuillexDriverSetup" : L"Global\\QuillexDriverSetup");
  CInstallationLock lock;
  EXPECT_TRUE(lock.Acquire());
}

// The payload folder is made with its descriptor in the one call: a
// protected DACL of two entries, Administrators and SYSTEM, full access,
// inherited by what is put below it. Wine 8 keeps no descriptor given to
// CreateDirectoryW: it answers its default one (SYSTEM and the user), and
// checks no access on its Unix files anyway; the difference is kept here so
// that a Wine that changes it is noticed.
TEST(KernelProfileWinTest, AnAdministratorsFolderAdmitsAdministratorsAndSystemOnly) {
  wchar_t temp[MAX_PATH];
  ASSERT_NE(GetTempPathW(MAX_PATH, temp), 0u);
  const std::wstring folder = std::wstring(temp) + L"QuillexPayload.test." + std::to_wstring(GetCurrentProcessId());
  ASSERT_TRUE(plat::CreateAdministratorsDirectoryW(folder));
  PACL dacl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  ASSERT_EQ(GetNamedSecurityInfoW(folder.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                                  nullptr, &descriptor),
            DWORD(ERROR_SUCCESS));
  LPWSTR text = nullptr;
  ASSERT_TRUE(ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor, SDDL_REVISION_1,
                                                                   DACL_SECURITY_INFORMATION, &text, nullptr));
  const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
  if (wine)
    EXPECT_EQ(std::wstring(text).find(L";;;BA)"), std::wstring::npos) << text;
  else
    EXPECT_EQ(std::wstring(text), L"D:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)");
  LocalFree(text);
  LocalFree(descriptor);
  EXPECT_FALSE(plat::CreateAdministratorsDirectoryW(folder));  // never an existing one
  EXPECT_EQ(GetLastError(), DWORD(ERROR_ALREADY_EXISTS));
  EXPECT_TRUE(plat::RemoveDirectoryW(folder));
}

}  // namespace
