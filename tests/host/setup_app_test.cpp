// The process frame around the wizard: fonts beside the exe, the services at exit.

#include "catalog/setup_app.h"

#include "platform/error.h"
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
