#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "platform/error.h"
#include "platform/files.h"
#include "report/install_log.h"
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

// Whatever keeps an index from being opened, the entry goes to the next one:
// at once, or after the retries when another program holds the file. The
// next entry starts at the index that took it.
TEST_F(InstallLogTest, AnIndexThatCannotBeOpenedGivesTheEntryToTheNext) {
  struct Case {
    const char* what;
    bool held;  // another program holds Log(1) without sharing
    std::function<void()> prepare;
    int takenBy;
    size_t pauses;
  };
  const Case cases[] = {
      {"held without sharing", true, [] {}, 2, 24},
      {"read-only", false, [this] { M().fs.AddFile(LogPath(1), "", plat::kFileAttributeReadonly); }, 2, 0},
      {"a folder", false, [this] { M().fs.AddDirectory(LogPath(1)); }, 2, 0},
      {"full, then read-only", false,
       [this] {
         M().fs.AddFile(LogPath(1), std::string(0x100000, 'x'));
         M().fs.AddFile(LogPath(2), "", plat::kFileAttributeReadonly);
       },
       3, 0},
  };
  for (const Case& c : cases) {
    SetUp();
    M().fs.AddDirectory(kLogDir);
    c.prepare();
    plat::FileHandle holder;
    if (c.held) holder = plat::FileHandle(plat::CreateFileW(LogPath(1), plat::kGenericRead, 0, plat::kOpenAlways));
    WriteInstallLog(L"kept", false);
    WriteInstallLog(L"next", false);
    EXPECT_EQ(LogMessages(c.takenBy), (std::vector<std::wstring>{L"kept", L"next"})) << c.what;
    EXPECT_EQ(s_nLogIndex.load(), c.takenBy) << c.what;
    EXPECT_EQ(M().transcript.Count("Sleep"), c.pauses) << c.what;
  }
}

// When no index can be opened the entry is dropped after a bounded number of
// opens, and only a held file is waited for.
TEST_F(InstallLogTest, EntryIsDroppedOnlyWhenTheBoundRunsOut) {
  M().faults.Fail("CreateFileW", plat::kErrorAccessDenied, 1, 1000);
  WriteInstallLog(L"lost", false);
  EXPECT_EQ(M().transcript.Count("CreateFileW"), 50u);
  EXPECT_EQ(M().transcript.Count("Sleep"), 0u);

  SetUp();
  M().faults.Fail("CreateFileW", plat::kErrorSharingViolation, 1, 1000);
  WriteInstallLog(L"lost", false);
  EXPECT_EQ(M().transcript.Count("CreateFileW"), 50u);
  EXPECT_LE(M().clock.NowMs(), 1000u);
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
