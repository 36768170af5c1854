// The process frame around the wizard: fonts beside the exe, the services at exit.

#include "app/setup_app.h"

#include <memory>
#include <thread>

#include "engine/installation_lock.h"
#include "platform/sync.h"
#include "platform/window.h"
#include "report/app_title.h"

#include "engine/service_sequence.h"
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

// A font copied before keeps the source's size and last-write time: the next
// start leaves it without reading either file. A font of another time, or of
// the same time and another size, is compared, and replaced when it differs.
TEST_F(SetupAppTest, AFontOfTheSameSizeAndLastWriteTimeIsNotReadAgain) {
  M().fs.AddFile(L"C:\\Setup\\字体\\wqy.ttc", "font");
  ASSERT_TRUE(InstallFonts());
  M().transcript.Clear();
  EXPECT_TRUE(InstallFonts());
  EXPECT_EQ(M().transcript.Count("ReadFile"), 0u);
  EXPECT_EQ(M().transcript.Count("CopyFileW"), 1u);  // the copy that finds it there

  struct Row {
    const char* installed;
    int timeShift;  // the installed font's last-write time against the source's
    size_t reads;   // 0: not compared
    const char* after;
  } rows[] = {
      {"font", 0, 0, "font"},   // the font copied before
      {"fnot", 0, 0, "fnot"},   // the same size and time: taken as copied before
      {"font", 1, 2, "font"},   // another time, the same bytes: compared, left
      {"fon", 0, 0, "font"},    // another size: replaced without reading
      {"old!", 1, 2, "font"},   // another time and bytes: compared, replaced
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.installed);
    SetUp();
    M().fs.AddFile(L"C:\\Setup\\字体\\wqy.ttc", "font");
    M().fs.AddFile(L"C:\\windows\\Fonts\\wqy.ttc", row.installed);
    M().fs.Find(L"C:\\windows\\Fonts\\wqy.ttc")->lastWriteTime =
        M().fs.Find(L"C:\\Setup\\字体\\wqy.ttc")->lastWriteTime + row.timeShift;
    EXPECT_TRUE(InstallFonts());
    EXPECT_EQ(M().transcript.Count("ReadFile"), row.reads);
    EXPECT_EQ(M().fs.Contents(L"C:\\windows\\Fonts\\wqy.ttc"), row.after);
  }

  SetUp();  // the times cannot be read: the fonts are compared as before
  M().fs.AddFile(L"C:\\Setup\\字体\\wqy.ttc", "font");
  ASSERT_TRUE(InstallFonts());
  M().transcript.Clear();
  M().faults.Fail("GetFileAttributesExW", plat::kErrorAccessDenied);
  EXPECT_TRUE(InstallFonts());
  EXPECT_EQ(M().transcript.Count("ReadFile"), 2u);
  EXPECT_TRUE(LogMessages().empty());
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

// The assistant is started at exit only when the service thread stopped it,
// and never while that thread's stop may still be under way.
TEST_F(SetupAppTest, CompatibilityAssistantStartsAgainAtExitOnlyIfTheInstallerStoppedIt) {
  ServiceThreadRecord record;
  ASSERT_TRUE(StartServiceThread(record));
  RestoreServicesAtExit(record);
  EXPECT_EQ(M().services.State(L"PcaSvc"), plat::kServiceRunning);
  EXPECT_EQ(M().kernel.debugOutput, (std::vector<std::wstring>{L"stop success。", L"start success。"}));

  SetUp();  // stopped before the installer ran: it stays stopped
  M().services.Find(L"PcaSvc")->state = plat::kServiceStopped;
  ServiceThreadRecord stoppedBefore;
  ASSERT_TRUE(StartServiceThread(stoppedBefore));
  RestoreServicesAtExit(stoppedBefore);
  EXPECT_EQ(M().services.State(L"PcaSvc"), plat::kServiceStopped);
  EXPECT_EQ(M().transcript.Count("StartServiceW"), 0u);

  SetUp();  // no service manager at exit
  ServiceThreadRecord noManager;
  ASSERT_TRUE(StartServiceThread(noManager));
  M().JoinThreads();
  M().faults.Fail("OpenSCManagerW", plat::kErrorAccessDenied);
  RestoreServicesAtExit(noManager);  // silently skipped
  EXPECT_EQ(M().services.State(L"PcaSvc"), plat::kServiceStopped);

  SetUp();  // no service thread: nothing stopped, nothing waited for
  M().faults.Fail("CreateThread", plat::kErrorNotEnoughMemory);
  ServiceThreadRecord noThread;
  EXPECT_FALSE(StartServiceThread(noThread));
  RestoreServicesAtExit(noThread);
  EXPECT_EQ(M().services.State(L"PcaSvc"), plat::kServiceRunning);
  EXPECT_EQ(M().clock.NowMs(), 0u);
}

// The wizard closes while the service thread still waits for the assistant
// to stop: the exit waits for the thread, then starts the assistant.
TEST_F(SetupAppTest, AStopStillPendingAtCloseIsFinishedBeforeTheStart) {
  sim::Service& pca = *M().services.Find(L"PcaSvc");
  pca.stopPolls = 20;
  pca.waitHint = 100;
  ServiceThreadRecord record;
  ASSERT_TRUE(StartServiceThread(record));
  auto notYetAsked = [] {
    auto lock = M().Lock();
    return M().services.State(L"PcaSvc") == plat::kServiceRunning;
  };
  while (notYetAsked()) std::this_thread::yield();
  RestoreServicesAtExit(record);
  M().JoinThreads();
  EXPECT_TRUE(record.finished);
  EXPECT_EQ(M().services.State(L"PcaSvc"), plat::kServiceRunning);
  EXPECT_EQ(M().kernel.debugOutput, (std::vector<std::wstring>{L"stop success。", L"start success。"}));
}

// A service thread that cannot finish (here: another sequence holds on)
// is waited for only within the bound, and the assistant is left alone.
TEST_F(SetupAppTest, AServiceThreadStillRunningAtTheBoundLeavesTheAssistantAlone) {
  M().clock.realPauses = false;
  ServiceThreadRecord record;
  {
    ServiceSequence other;
    ASSERT_TRUE(StartServiceThread(record));
    RestoreServicesAtExit(record);
    EXPECT_GE(M().clock.NowMs(), kServiceThreadWaitMs);
    EXPECT_FALSE(record.finished);
  }
  M().JoinThreads();
  EXPECT_EQ(M().services.State(L"PcaSvc"), plat::kServiceStopped);
  EXPECT_EQ(M().transcript.Count("StartServiceW"), 0u);
}

}  // namespace

namespace {

// Another installation holds the lock: a second wizard brings the running
// wizard or its readme to the front; where it finds neither (the holder has
// no window), it says so in a box instead of ending without a word. A
// standard user's process that took the global name first blocks nothing:
// the lock lies in the administrators' namespace.
TEST_F(SetupAppTest, ALockHeldWithoutAWindowIsAnsweredWithABox) {
  std::unique_ptr<CInstallationLock> holder;
  std::thread other([&] {
    holder = std::make_unique<CInstallationLock>();
    ASSERT_TRUE(holder->Acquire());
  });
  other.join();
  CInstallationLock lock;
  ASSERT_FALSE(lock.Acquire());
  AnswerAnotherInstallation();
  ASSERT_EQ(M().windows.messageBoxes.size(), 1u);
  EXPECT_EQ(M().windows.messageBoxes[0].text, kAnotherInstallationText);
  EXPECT_EQ(M().windows.messageBoxes[0].caption, kAppTitle);

  M().windows.topLevel = {kReadmeTitle};
  AnswerAnotherInstallation();
  M().windows.topLevel = {kReadmeTitle, kAppTitle};
  AnswerAnotherInstallation();
  EXPECT_EQ(M().windows.broughtToFront, (std::vector<std::wstring>{kReadmeTitle, kAppTitle}));
  EXPECT_EQ(M().windows.messageBoxes.size(), 1u);
  M().namedObjects.byName.at(kInstallationMutexName).owner.reset();  // the holder's process ended
  holder.reset();

  std::thread squatter([] {
    plat::Handle global = plat::CreateMutexW(kInstallationMutexFallbackName);
    ASSERT_EQ(plat::WaitForSingleObject(global, 0), plat::kWaitObject0);
  });
  squatter.join();
  EXPECT_TRUE(lock.Acquire());
  // Where the system has no private namespaces (Wine), the global name is the lock.
  M().namedObjects.privateNamespaces = false;
  CInstallationLock fallback;
  EXPECT_FALSE(fallback.Acquire());
}

}  // namespace
