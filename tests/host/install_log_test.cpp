#include <gtest/gtest.h>

#include <thread>

#include "engine/install_log.h"
#include "platform/error.h"
#include "platform/files.h"
#include "sim_test.h"

namespace {

const std::wstring kLogDir = L"C:\\users\\Quillex\\Documents\\Tovanta";

class InstallLogTest : public SimTest {
 protected:
  std::wstring LogPath(int n) { return kLogDir + L"\\Log(" + std::to_wstring(n) + L").txt"; }
};

TEST_F(InstallLogTest, EntryBytesWithoutErrorCode) {
  WriteInstallLog(L"关闭Spooler服务失败", false);
  // GBK text, five blanks, the local time 9 Dec 2026 09:05:03.012 without leading zeros.
  EXPECT_EQ(M().fs.Contents(LogPath(1)),
            std::string("\xB9\xD8\xB1\xD5Spooler\xB7\xFE\xCE\xF1\xCA\xA7\xB0\xDC     9-12-2026,9:5:3:12 \r\n\0", 46));
}

TEST_F(InstallLogTest, EntryWithErrorCodeTakesTheCallersLastErrorAndItsText) {
  plat::SetLastError(plat::kErrorAccessDenied);
  WriteInstallLog(L"OpenService", true);
  plat::SetLastError(0);
  WriteInstallLog(L"StartService", true);
  auto entries = LogEntries();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0], "OpenService failed with error 5: Access is denied.\r\n     9-12-2026,9:5:3:12 \r\n");
  EXPECT_EQ(entries[1],
            "StartService succeed:  0: The operation completed successfully.\r\n     9-12-2026,9:5:3:12 \r\n");
}

TEST_F(InstallLogTest, CodeWithoutSystemTextGivesEmptyText) {
  plat::SetLastError(0xE0000003);
  WriteInstallLog(L"SetupCopyOEMInf", true);
  EXPECT_EQ(LogEntries().at(0), "SetupCopyOEMInf failed with error -536870909:      9-12-2026,9:5:3:12 \r\n");
}

TEST_F(InstallLogTest, TimeStampFormat) {
  EXPECT_EQ(FormatLogTimeStamp(1, 2, 2027, 0, 0, 0, 0), L"     1-2-2027,0:0:0:0 \r\n");
  EXPECT_EQ(FormatLogTimeStamp(31, 12, 2026, 23, 59, 59, 999), L"     31-12-2026,23:59:59:999 \r\n");
}

TEST_F(InstallLogTest, FolderIsCreatedAndExistingContentKept) {
  EXPECT_FALSE(M().fs.Exists(kLogDir));
  WriteInstallLog(L"a", false);
  EXPECT_TRUE(M().fs.IsDirectory(kLogDir));
  WriteInstallLog(L"b", false);
  auto entries = LogEntries();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].substr(0, 1), "a");
  EXPECT_EQ(entries[1].substr(0, 1), "b");
}

TEST_F(InstallLogTest, FullFileRollsOverAndTheIndexStays) {
  M().fs.AddFile(LogPath(1), std::string(0x100000, 'x'));
  M().fs.AddFile(LogPath(2), std::string(0xFFFFF, 'y'));
  WriteInstallLog(L"first", false);
  EXPECT_EQ(s_nLogIndex.load(), 2);
  EXPECT_EQ(M().fs.Contents(LogPath(1)).size(), 0x100000u);
  // The size check comes before the write: Log(2) grows past 1 MiB by one entry.
  EXPECT_GT(M().fs.Contents(LogPath(2)).size(), 0x100000u);
  WriteInstallLog(L"second", false);
  EXPECT_EQ(s_nLogIndex.load(), 3);
  EXPECT_EQ(LogEntries(3).size(), 1u);
  // Full files are never revisited in this run, even if one shrinks again.
  M().fs.AddFile(LogPath(1), "");
  WriteInstallLog(L"third", false);
  EXPECT_EQ(LogEntries(3).size(), 2u);
  EXPECT_EQ(M().fs.Contents(LogPath(1)), "");
}

TEST_F(InstallLogTest, FileHeldOpenByAnotherProgramDropsTheEntryAfterBoundedTries) {
  M().fs.AddDirectory(kLogDir);
  plat::FileHandle holder(plat::CreateFileW(LogPath(1), plat::kGenericRead, 0, plat::kOpenAlways));
  ASSERT_TRUE(holder.valid());
  WriteInstallLog(L"lost", false);
  EXPECT_EQ(M().fs.Contents(LogPath(1)), "");
  EXPECT_GE(M().transcript.Count("Sleep"), 1u);
  EXPECT_LE(M().clock.NowMs(), 2000u);
  EXPECT_EQ(s_nLogIndex.load(), 1);
}

TEST_F(InstallLogTest, MissingDocumentsFolderDropsTheEntryAtOnce) {
  M().specialFolders.clear();
  WriteInstallLog(L"nowhere", false);
  EXPECT_EQ(M().transcript.Count("Sleep"), 0u);
  EXPECT_EQ(M().transcript.Count("CreateDirectoryW"), 0u);  // not "\Tovanta\" on the current drive
  EXPECT_EQ(M().transcript.Count("CreateFileW"), 0u);
}

TEST_F(InstallLogTest, ThreeWritersNeverInterleave) {
  constexpr int kPerThread = 200;
  auto writer = [](wchar_t tag) {
    for (int i = 0; i < kPerThread; ++i) WriteInstallLog(std::wstring(40, tag), false);
  };
  std::thread a(writer, L'a'), b(writer, L'b'), c(writer, L'c');
  a.join();
  b.join();
  c.join();
  auto entries = LogEntries();
  ASSERT_EQ(entries.size(), 3u * kPerThread);
  for (const std::string& e : entries) {
    // 40 tag characters, then the time stamp alone (contention moves the clock on).
    EXPECT_EQ(e.find_first_not_of(e[0]), 40u) << e;
    EXPECT_EQ(e.substr(40, 15), "     9-12-2026,") << e;
    EXPECT_EQ(e.find_first_of("abc", 40), std::string::npos) << e;
  }
}

}  // namespace
