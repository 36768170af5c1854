// Protected copies into folders the spooler may hold, and the flat folder copy.
#include <gtest/gtest.h>

#include "engine/folder_copy.h"
#include "engine/protected_copy.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/services.h"
#include "sim_test.h"

namespace {

using Strings = std::vector<std::wstring>;

const std::wstring kSource = L"C:\\Setup\\24Pin\\X64\\QX24RES.DLL";
const std::wstring kDrivers = L"C:\\windows\\system32\\spool\\drivers\\x64\\";
const std::wstring kTarget = kDrivers + L"QX24RES.DLL";

class ProtectedCopyTest : public SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    M().fs.AddFile(kSource, "new driver");
  }
  // The calls that make up the protected sequence, with their arguments.
  std::vector<std::wstring> Sequence() {
    std::vector<std::wstring> seq;
    for (const sim::Call& c : M().transcript.Calls())
      if (c.op == "CopyFileW" || c.op == "ControlService" || c.op == "StartServiceW" || c.op == "Sleep" ||
          c.op == "SetFileAttributesW")
        seq.push_back(std::wstring(c.op.begin(), c.op.end()) + L" " + c.detail);
    return seq;
  }
  bool SpoolerTouched() {
    return M().transcript.Count("ControlService") + M().transcript.Count("StartServiceW") +
               M().transcript.Count("OpenSCManagerW") > 0;
  }
};

TEST_F(ProtectedCopyTest, OnlyADifferentFileIsWrittenAndNoneOfThemTouchesTheSpooler) {
  EXPECT_TRUE(CopyFileProtected(kSource, kTarget));  // absent: one copy
  EXPECT_EQ(M().transcript.Count("CopyFileW"), 1u);
  EXPECT_TRUE(CopyFileProtected(kSource, kTarget));  // identical, although the spooler holds it
  EXPECT_EQ(M().transcript.Count("CopyFileW"), 2u);
  const std::wstring font = L"C:\\windows\\Fonts\\QX24RES.DLL";
  M().fs.AddFile(font, "new drivex");  // same length, other bytes
  EXPECT_TRUE(CopyFileProtected(kSource, font));
  EXPECT_EQ(M().fs.Contents(font), "new driver");
  // A destination that cannot be opened for the comparison counts as different.
  M().faults.Fail("CreateFileW", plat::kErrorAccessDenied);
  EXPECT_TRUE(CopyFileProtected(kSource, font));
  EXPECT_EQ(M().transcript.Count("CopyFileW"), 6u);
  EXPECT_FALSE(SpoolerTouched());
  EXPECT_TRUE(ErrorBoxes().empty());
}

TEST_F(ProtectedCopyTest, FileInUseIsReplacedWhileTheSpoolerIsStopped) {
  M().fs.AddFile(kTarget, "old driver", plat::kFileAttributeReadonly | plat::kFileAttributeArchive);
  EXPECT_TRUE(CopyFileProtected(kSource, kTarget));
  EXPECT_EQ(M().fs.Contents(kTarget), "new driver");
  EXPECT_EQ(M().services.State(L"Spooler"), plat::kServiceRunning);
  const std::wstring copy = L"CopyFileW " + kSource + L" -> " + kTarget;
  EXPECT_EQ(Sequence(), (Strings{
                            copy + L" (fail if exists)",
                            copy,  // refused: the spooler holds it
                            L"ControlService Spooler 1",
                            L"Sleep 2000",
                            L"SetFileAttributesW " + kTarget,
                            copy,
                            L"StartServiceW Spooler",
                            L"Sleep 0",  // the start's poll at the spooler's wait hint
                            L"Sleep 1000",
                        }));
  EXPECT_EQ(M().fs.Attributes(kTarget) & plat::kFileAttributeReadonly, 0u);
  EXPECT_TRUE(ErrorBoxes().empty());
  EXPECT_TRUE(LogMessages().empty());
}

TEST_F(ProtectedCopyTest, ReadOnlyFileNotInUseAlsoGoesThroughTheSpoolerStop) {
  const std::wstring font = L"C:\\windows\\Fonts\\QX24RES.DLL";
  M().fs.AddFile(font, "old", plat::kFileAttributeReadonly);
  EXPECT_TRUE(CopyFileProtected(kSource, font));
  EXPECT_EQ(M().fs.Contents(font), "new driver");
  EXPECT_EQ(M().transcript.Ops({"ControlService", "StartServiceW"}),
            (std::vector<std::string>{"ControlService", "StartServiceW"}));
}

TEST_F(ProtectedCopyTest, CopyStillRefusedWithTheSpoolerStoppedShowsBoxTwo) {
  M().fs.AddFile(kTarget, "old");
  // Another program holds it too, and does not let go when the spooler stops.
  plat::FileHandle holder(plat::CreateFileW(kTarget, plat::kGenericRead, plat::kFileShareRead, plat::kOpenExisting));
  ASSERT_TRUE(holder.valid());
  EXPECT_FALSE(CopyFileProtected(kSource, kTarget));
  EXPECT_EQ(ErrorBoxes(), (Strings{L"2"}));
  EXPECT_EQ(M().services.State(L"Spooler"), plat::kServiceRunning);
  EXPECT_EQ(M().clock.Sleeps().back(), 1000u);
}

TEST_F(ProtectedCopyTest, SpoolerThatCannotBeStoppedOrStartedIsLogged) {
  M().fs.AddFile(kTarget, "old");
  sim::Service& spooler = *M().services.Find(L"Spooler");
  spooler.stopError = plat::kErrorAccessDenied;
  EXPECT_FALSE(CopyFileProtected(kSource, kTarget));
  EXPECT_EQ(M().fs.Contents(kTarget), "old");
  spooler.stopError = 0;
  spooler.startError = plat::kErrorAccessDenied;
  // The copy itself works but the spooler stays stopped: false all the same.
  EXPECT_FALSE(CopyFileProtected(kSource, kTarget));
  EXPECT_EQ(M().fs.Contents(kTarget), "new driver");
  EXPECT_EQ(M().services.State(L"Spooler"), plat::kServiceStopped);
  EXPECT_EQ(ErrorBoxes(), (Strings{L"7", L"7"}));
  EXPECT_EQ(LogMessages(), (Strings{L"ControlService failed with error 5: Access is denied.\r\n",
                                    L"关闭Spooler服务失败",
                                    L"StartService failed with error 5: Access is denied.\r\n",
                                    L"开启Spooler服务失败"}));
}

TEST_F(ProtectedCopyTest, OtherFailuresShowBoxTwoWithoutTouchingTheSpooler) {
  EXPECT_FALSE(CopyFileProtected(kSource, L"C:\\NoFolder\\QX24RES.DLL"));
  EXPECT_EQ(ErrorBoxes(), (Strings{L"2"}));
  M().fs.AddFile(kTarget, "old");
  M().faults.Fail("CopyFileW", 112, 2);  // ERROR_DISK_FULL on the overwrite
  EXPECT_FALSE(CopyFileProtected(kSource, kTarget));
  EXPECT_EQ(ErrorBoxes(), (Strings{L"2", L"2"}));
  EXPECT_FALSE(SpoolerTouched());
  ASSERT_EQ(LogMessages().size(), 1u);
  EXPECT_EQ(LogMessages()[0].rfind(L"CopyFileW " + kTarget + L" failed with error 112", 0), 0u) << LogMessages()[0];
}

class FolderCopyTest : public SimTest {};

TEST_F(FolderCopyTest, TreeIsCopiedFlatAndTheLastVisitDecides) {
  M().fs.AddFile(L"C:\\Setup\\字体\\a.ttf", "a");
  M().fs.AddFile(L"C:\\Setup\\字体\\sub\\b.ttf", "b");
  M().fs.AddDirectory(L"C:\\Setup\\字体\\empty");
  M().fs.SetEnumerationOrder(L"C:\\Setup\\字体", {L"sub", L"a.ttf", L"empty"});
  EXPECT_FALSE(CopyFolderTree(L"C:\\Setup\\字体\\", L"C:\\windows\\Fonts\\"));
  EXPECT_EQ(M().fs.List(L"C:\\windows\\Fonts"), (Strings{L"b.ttf", L"a.ttf"}));

  M().fs.SetEnumerationOrder(L"C:\\Setup\\字体", {L"empty", L"a.ttf", L"sub"});
  EXPECT_TRUE(CopyFolderTree(L"C:\\Setup\\字体\\", L"C:\\windows\\Fonts\\"));  // both identical now
  EXPECT_FALSE(CopyFolderTree(L"C:\\Setup\\字体\\empty\\", L"C:\\windows\\Fonts\\"));
  EXPECT_FALSE(CopyFolderTree(L"C:\\Setup\\missing\\", L"C:\\windows\\Fonts\\"));
}

TEST_F(FolderCopyTest, JunctionBackUpTheTreeIsNotFollowed) {
  M().fs.AddFile(L"C:\\Setup\\字体\\a.ttf", "a");
  M().fs.AddJunction(L"C:\\Setup\\字体\\sub\\up", L"C:\\Setup\\字体");
  M().fs.SetEnumerationOrder(L"C:\\Setup\\字体", {L"a.ttf", L"sub"});
  EXPECT_FALSE(CopyFolderTree(L"C:\\Setup\\字体\\", L"C:\\windows\\Fonts\\"));  // the last visit was "sub"
  EXPECT_EQ(M().fs.List(L"C:\\windows\\Fonts"), (Strings{L"a.ttf"}));
  EXPECT_EQ(M().transcript.Count("FindFirstFileW"), 2u);  // the folder and "sub", not "sub\\up"
}

}  // namespace
