// The simulated machine itself: the Windows semantics the other tests rely on.
#include <gtest/gtest.h>

#include "platform/error.h"
#include "platform/files.h"
#include "platform/kernel.h"
#include "platform/profile.h"
#include "platform/registry.h"
#include "sim_test.h"

namespace {

class SimMachineTest : public SimTest {};

TEST_F(SimMachineTest, NamesAreCaseInsensitiveAndKeepTheirCase) {
  M().fs.AddFile(L"C:\\Drv\\UniDrv.DLL", "x");
  EXPECT_NE(plat::GetFileAttributesW(L"c:\\DRV\\unidrv.dll"), plat::kInvalidFileAttributes);
  plat::FindData d;
  plat::FindHandle find(plat::FindFirstFileW(L"C:\\drv\\*.*", d));
  ASSERT_TRUE(find.valid());
  EXPECT_EQ(d.fileName, L".");
  ASSERT_TRUE(plat::FindNextFileW(find.get(), d));
  EXPECT_EQ(d.fileName, L"..");
  ASSERT_TRUE(plat::FindNextFileW(find.get(), d));
  EXPECT_EQ(d.fileName, L"UniDrv.DLL");
  EXPECT_FALSE(plat::FindNextFileW(find.get(), d));
  EXPECT_EQ(plat::GetLastError(), plat::kErrorNoMoreFiles);
}

TEST_F(SimMachineTest, EnumerationOrderCanBeChosen) {
  for (const wchar_t* n : {L"a", L"b", L"c"}) M().fs.AddFile(std::wstring(L"C:\\d\\") + n, "");
  M().fs.SetEnumerationOrder(L"C:\\d", {L"c", L"a"});
  EXPECT_EQ(M().fs.List(L"C:\\D"), (std::vector<std::wstring>{L"c", L"a", L"b"}));
}

TEST_F(SimMachineTest, CopyFileErrors) {
  M().fs.AddFile(L"C:\\s\\f", "new");
  EXPECT_FALSE(plat::CopyFileW(L"C:\\s\\missing", L"C:\\s\\g", true));
  EXPECT_EQ(plat::GetLastError(), plat::kErrorFileNotFound);
  EXPECT_FALSE(plat::CopyFileW(L"C:\\s\\f", L"C:\\nodir\\f", true));
  EXPECT_EQ(plat::GetLastError(), plat::kErrorPathNotFound);
  M().fs.AddFile(L"C:\\d\\f", "old", plat::kFileAttributeReadonly);
  EXPECT_FALSE(plat::CopyFileW(L"C:\\s\\f", L"C:\\d\\f", true));
  EXPECT_EQ(plat::GetLastError(), plat::kErrorFileExists);
  EXPECT_FALSE(plat::CopyFileW(L"C:\\s\\f", L"C:\\d\\f", false));
  EXPECT_EQ(plat::GetLastError(), plat::kErrorAccessDenied);
  plat::SetFileAttributesW(L"C:\\d\\f", plat::kFileAttributeArchive);
  {
    plat::FileHandle held(plat::CreateFileW(L"C:\\d\\f", plat::kGenericRead, plat::kFileShareRead, plat::kOpenExisting));
    EXPECT_FALSE(plat::CopyFileW(L"C:\\s\\f", L"C:\\d\\f", false));
    EXPECT_EQ(plat::GetLastError(), plat::kErrorSharingViolation);
  }
  EXPECT_TRUE(plat::CopyFileW(L"C:\\s\\f", L"C:\\d\\f", false));
  EXPECT_EQ(M().fs.Contents(L"C:\\d\\f"), "new");
}

TEST_F(SimMachineTest, ShareModesOfOpenHandles) {
  M().fs.AddFile(L"C:\\f", "x");
  plat::FileHandle reader(plat::CreateFileW(L"C:\\f", plat::kGenericRead, plat::kFileShareRead, plat::kOpenExisting));
  ASSERT_TRUE(reader.valid());
  plat::FileHandle second(plat::CreateFileW(L"C:\\f", plat::kGenericRead, plat::kFileShareRead, plat::kOpenExisting));
  EXPECT_TRUE(second.valid());
  plat::FileHandle writer(plat::CreateFileW(L"C:\\f", plat::kGenericWrite, plat::kFileShareRead | plat::kFileShareWrite, plat::kOpenExisting));
  EXPECT_FALSE(writer.valid());
  EXPECT_EQ(plat::GetLastError(), plat::kErrorSharingViolation);
}

TEST_F(SimMachineTest, FaultsHitTheChosenCall) {
  M().faults.Fail("CreateDirectoryW", plat::kErrorAccessDenied, 2);
  EXPECT_TRUE(plat::CreateDirectoryW(L"C:\\a"));
  EXPECT_FALSE(plat::CreateDirectoryW(L"C:\\b"));
  EXPECT_EQ(plat::GetLastError(), plat::kErrorAccessDenied);
  EXPECT_TRUE(plat::CreateDirectoryW(L"C:\\c"));
}

TEST_F(SimMachineTest, SleepAdvancesTheVirtualClock) {
  plat::Sleep(2000);
  plat::Sleep(1000);
  EXPECT_EQ(plat::GetTickCount(), 3000u);
  EXPECT_EQ(M().clock.Sleeps(), (std::vector<uint32_t>{2000, 1000}));
  plat::SystemTime t;
  plat::GetLocalTime(t);
  EXPECT_EQ(t.second, 6);
}

TEST_F(SimMachineTest, ProfileReading) {
  M().fs.AddFile(L"C:\\Setup\\PrinterInfo.ini",
                 "[\xB2\xE2\xCA\xD4]\r\nCounts = 2\r\n1=QX-1\r\n[VID_PID]\r\nvid=d23c\r\n");  // [测试]
  EXPECT_EQ(plat::GetPrivateProfileIntW(L"测试", L"counts", 9, L"C:\\Setup\\PrinterInfo.ini"), 2u);
  EXPECT_EQ(plat::GetPrivateProfileStringW(L"测试", L"1", L"", 260, L"C:\\Setup\\PrinterInfo.ini"), L"QX-1");
  EXPECT_EQ(plat::GetPrivateProfileStringW(L"vid_pid", L"VID", L"", 3, L"C:\\Setup\\PrinterInfo.ini"), L"d2");
  EXPECT_EQ(plat::GetPrivateProfileStringW(L"VID_PID", L"PID", L"none", 260, L"C:\\Setup\\PrinterInfo.ini"), L"none");
  EXPECT_EQ(plat::GetPrivateProfileIntW(L"x", L"y", 7, L"C:\\missing.ini"), 7u);
}

TEST_F(SimMachineTest, RegistryReads) {
  M().registry.SetDword(L"HKLM\\SYSTEM\\Port", L"Port Number", 3);
  plat::Handle raw = nullptr;
  ASSERT_EQ(plat::RegOpenKeyExW(plat::kHkeyLocalMachine, L"system\\port", plat::kKeyRead, raw), 0u);
  plat::KeyHandle key(raw);
  uint32_t value = 0;
  EXPECT_EQ(plat::RegQueryDwordValue(key.get(), L"port number", value), 0u);
  EXPECT_EQ(value, 3u);
  std::wstring text;
  EXPECT_EQ(plat::RegQueryStringValue(key.get(), L"Port Number", text), plat::kErrorInvalidData);
  EXPECT_EQ(plat::RegOpenKeyExW(plat::kHkeyLocalMachine, L"SYSTEM\\Other", plat::kKeyRead, raw), plat::kErrorFileNotFound);
}

}  // namespace
