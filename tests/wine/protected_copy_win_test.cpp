// Protected copies into Wine's real spooler driver folder.
#include <gtest/gtest.h>
#include <windows.h>

#include "engine/protected_copy.h"
#include "wine_support.h"

namespace {

class ProtectedCopyWinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    source_ = wine::ExeFolder() + L"qx-protected-source.dll";
    target_ = wine::SpoolerDriverFolder() + L"\\QX-PROTECTED.DLL";
    wine::WriteAll(source_, "new driver");
    wine::WriteAll(target_, "old driver");
    wine::EnsureSpoolerRunning();
  }
  void TearDown() override {
    DeleteFileW(source_.c_str());
    DeleteFileW(target_.c_str());
  }
  std::wstring source_, target_;
  wine::ErrorBoxRecorder boxes_;
};

TEST_F(ProtectedCopyWinTest, FileHeldWithoutSharingSurvivesASpoolerRestartAndShowsBoxTwo) {
  HANDLE held = CreateFileW(target_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const DWORD spoolerBefore = wine::QuerySpooler().processId;
  EXPECT_FALSE(CopyFileProtected(source_, target_));
  CloseHandle(held);
  EXPECT_EQ(wine::ErrorBoxRecorder::Boxes(), std::vector<std::wstring>{L"2"});
  EXPECT_EQ(wine::ReadAll(target_), "old driver");
  // The spooler was stopped for the copy and runs again, in a new process.
  wine::SpoolerStatus after = wine::QuerySpooler();
  EXPECT_EQ(after.state, DWORD(SERVICE_RUNNING));
  EXPECT_NE(after.processId, spoolerBefore);
}

TEST_F(ProtectedCopyWinTest, IdenticalAndDifferentFilesNeedNoSpoolerStop) {
  const DWORD spoolerBefore = wine::QuerySpooler().processId;
  EXPECT_TRUE(CopyFileProtected(source_, target_));
  EXPECT_EQ(wine::ReadAll(target_), "new driver");
  EXPECT_TRUE(CopyFileProtected(source_, target_));
  EXPECT_TRUE(FilesIdentical(source_, target_));
  EXPECT_EQ(wine::QuerySpooler().processId, spoolerBefore);
  EXPECT_TRUE(wine::ErrorBoxRecorder::Boxes().empty());
}

}  // namespace
