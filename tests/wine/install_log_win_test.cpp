// The install log against Wine's real shell folders, files and code pages.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "report/install_log.h"

namespace {

std::wstring LogFolder() {
  wchar_t documents[MAX_PATH] = {};
  EXPECT_TRUE(SHGetSpecialFolderPathW(nullptr, documents, CSIDL_PERSONAL, FALSE));
  return std::wstring(documents) + L"\\Tovanta\\";
}

std::string ReadAll(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class InstallLogWinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int n = 1; n <= 3; ++n) DeleteFileW((LogFolder() + L"Log(" + std::to_wstring(n) + L").txt").c_str());
    s_nLogIndex = 1;
  }
};

TEST_F(InstallLogWinTest, ChineseLocaleGivesCodePage936) { EXPECT_EQ(GetACP(), 936u); }

TEST_F(InstallLogWinTest, EntryLandsInTheDocumentsFolderAsGbk) {
  WriteInstallLog(L"关闭Spooler服务失败", false);
  std::string bytes = ReadAll(LogFolder() + L"Log(1).txt");
  ASSERT_FALSE(bytes.empty());
  EXPECT_EQ(bytes.rfind("\xB9\xD8\xB1\xD5Spooler\xB7\xFE\xCE\xF1\xCA\xA7\xB0\xDC     ", 0), 0u);
  EXPECT_EQ(bytes.substr(bytes.size() - 4), std::string(" \r\n\0", 4));
  EXPECT_EQ(bytes.find('\0'), bytes.size() - 1);
}

TEST_F(InstallLogWinTest, EntryWithErrorCodeCarriesTheSystemText) {
  SetLastError(ERROR_ACCESS_DENIED);
  WriteInstallLog(L"OpenService", true);
  std::string bytes = ReadAll(LogFolder() + L"Log(1).txt");
  EXPECT_EQ(bytes.rfind("OpenService failed with error 5: ", 0), 0u) << bytes;
  EXPECT_GT(bytes.find("     "), 34u);  // the system's own text stands before the time stamp
}

TEST_F(InstallLogWinTest, FullLogRollsOverToTheNextFile) {
  CreateDirectoryW(LogFolder().c_str(), nullptr);
  {
    std::ofstream full(std::filesystem::path(LogFolder() + L"Log(1).txt"), std::ios::binary);
    full << std::string(0x100000, 'x');
  }
  WriteInstallLog(L"next", false);
  EXPECT_EQ(s_nLogIndex.load(), 2);
  EXPECT_EQ(ReadAll(LogFolder() + L"Log(2).txt").rfind("next     ", 0), 0u);
}

TEST_F(InstallLogWinTest, FileHeldWithoutSharingPassesTheEntryOnWithoutHanging) {
  CreateDirectoryW(LogFolder().c_str(), nullptr);
  HANDLE held = CreateFileW((LogFolder() + L"Log(1).txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  DWORD start = GetTickCount();
  WriteInstallLog(L"kept", false);
  EXPECT_LT(GetTickCount() - start, 5000u);
  CloseHandle(held);
  EXPECT_EQ(ReadAll(LogFolder() + L"Log(1).txt"), "");
  EXPECT_EQ(ReadAll(LogFolder() + L"Log(2).txt").rfind("kept     ", 0), 0u);
}

}  // namespace
