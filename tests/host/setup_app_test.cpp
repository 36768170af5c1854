// The process frame around the wizard: fonts beside the exe, the services at exit.

#include "catalog/setup_app.h"

#include "platform/error.h"
#include "platform/files.h"
#include "sim_test.h"

namespace {

class SetupAppTest : public SimTest {};

TEST_F(SetupAppTest, FontsAreCopiedFlatAndAMissingFolderChangesNothing) {
  EXPECT_FALSE(InstallFonts());  // no 字体 folder beside the exe
  EXPECT_EQ(M().transcript.Count("CopyFileW"), 0u);

  M().fs.AddFile(L"C:\\Setup\\字体\\wqy.ttc", "font");
  M().fs.AddFile(L"C:\\Setup\\字体\\more\\mono.ttf", "mono");
  EXPECT_TRUE(InstallFonts());
  EXPECT_EQ(M().fs.Contents(L"C:\\windows\\Fonts\\wqy.ttc"), "font");
  EXPECT_EQ(M().fs.Contents(L"C:\\windows\\Fonts\\mono.ttf"), "mono");
}

// A font the system holds, or a read-only one, is only logged: the spooler
// is not stopped for it, no box is shown, and the other fonts still arrive.
TEST_F(SetupAppTest, AFontThatCannotBeReplacedIsLoggedAndTheStartGoesOn) {
  M().fs.AddFile(L"C:\\Setup\\字体\\held.ttf", "new");
  M().fs.AddFile(L"C:\\Setup\\字体\\locked.ttf", "new");
  M().fs.AddFile(L"C:\\Setup\\字体\\free.ttf", "new");
  M().fs.SetEnumerationOrder(L"C:\\Setup\\字体", {L"held.ttf", L"locked.ttf", L"free.ttf"});
  M().fs.AddFile(L"C:\\windows\\Fonts\\held.ttf", "old");
  M().fs.AddFile(L"C:\\windows\\Fonts\\locked.ttf", "old", plat::kFileAttributeReadonly);
  plat::FileHandle holder(plat::CreateFileW(L"C:\\windows\\Fonts\\held.ttf", plat::kGenericRead, 0, plat::kOpenExisting));
  ASSERT_TRUE(holder.valid());

  EXPECT_TRUE(InstallFonts());
  EXPECT_EQ(M().fs.Contents(L"C:\\windows\\Fonts\\free.ttf"), "new");
  EXPECT_EQ(M().fs.Contents(L"C:\\windows\\Fonts\\held.ttf"), "old");
  EXPECT_EQ(M().fs.Contents(L"C:\\windows\\Fonts\\locked.ttf"), "old");
  EXPECT_EQ(M().transcript.Count("OpenSCManagerW"), 0u);
  EXPECT_TRUE(ErrorBoxes().empty());
  const std::vector<std::wstring> messages = LogMessages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].rfind(L"复制文件失败: C:\\windows\\Fonts\\held.ttf failed with error 32", 0), 0u);
  EXPECT_EQ(messages[1].rfind(L"复制文件失败: C:\\windows\\Fonts\\locked.ttf failed with error 5", 0), 0u);
}

TEST_F(SetupAppTest, NoFontsFolderMeansNoCopyAtAll) {
  M().fs.AddFile(L"C:\\Setup\\字体\\wqy.ttc", "font");
  M().faults.Fail("SHGetSpecialFolderPathW", plat::kErrorFileNotFound);
  EXPECT_FALSE(InstallFonts());
  EXPECT_EQ(M().transcript.Count("CopyFileW"), 0u);
  EXPECT_FALSE(M().fs.Find(L"C:\\wqy.ttc"));
}

TEST_F(SetupAppTest, CompatibilityAssistantStartsAgainAtExit) {
  M().services.Find(L"PcaSvc")->state = plat::kServiceStopped;
  RestoreServicesAtExit();
  EXPECT_EQ(M().services.State(L"PcaSvc"), plat::kServiceRunning);

  M().services.Find(L"PcaSvc")->state = plat::kServiceStopped;
  M().faults.Fail("OpenSCManagerW", plat::kErrorAccessDenied);
  RestoreServicesAtExit();  // silently skipped
  EXPECT_EQ(M().services.State(L"PcaSvc"), plat::kServiceStopped);
}

}  // namespace
