// Service control against Wine's real service manager. Wine runs "Spooler"
// as a demand-start service in its own process: stopped in a fresh session,
// running as soon as StartService returns, stopped right after the stop
// request, and reporting a wait hint of 10000 ms in every state, so each
// start waits 10 s. "PcaSvc" does not exist there.
#include <gtest/gtest.h>
#include <windows.h>

#include "engine/compatibility_assistant.h"
#include "engine/service_control.h"
#include "engine/service_thread.h"
#include "platform/services.h"
#include "wine_support.h"

namespace {

TEST(ServiceControlWinTest, RestartRunsTheSpoolerInAFreshProcess) {
  wine::EnsureSpoolerRunning();
  const DWORD before = wine::QuerySpooler().processId;
  EXPECT_TRUE(RestartSpooler());
  wine::SpoolerStatus after = wine::QuerySpooler();
  EXPECT_EQ(after.state, DWORD(SERVICE_RUNNING));
  EXPECT_NE(after.processId, before);
}

TEST(ServiceControlWinTest, StoppedSpoolerIsLeftAloneByStopAndStartedByTheServiceThread) {
  wine::EnsureSpoolerRunning();
  EXPECT_TRUE(StopServiceByName(L"Spooler"));
  ASSERT_TRUE(wine::SpoolerReaches(SERVICE_STOPPED));
  // Wine refuses a stop request to a stopped service (ERROR_SERVICE_NOT_ACTIVE): true means none was sent.
  EXPECT_TRUE(StopServiceByName(L"Spooler"));
  ServiceThreadRecord record;
  EXPECT_EQ(ServiceThreadProc(record), 0u);
  EXPECT_EQ(wine::QuerySpooler().state, DWORD(SERVICE_RUNNING));
}

// Both routines take the manager over and close it, touch no other service
// and write nothing to the log.
TEST(ServiceControlWinTest, AbsentCompatibilityAssistantIsPassedOverQuietly) {
  wine::EnsureSpoolerRunning();
  const wine::SpoolerStatus spooler = wine::QuerySpooler();
  plat::ScManagerHandle manager(plat::OpenSCManagerW(plat::kGenericExecute));
  ASSERT_TRUE(manager.valid());
  ASSERT_FALSE(plat::ServiceHandle(plat::OpenServiceW(manager.get(), L"PcaSvc", 0x34)).valid());
  ASSERT_EQ(GetLastError(), DWORD(ERROR_SERVICE_DOES_NOT_EXIST));
  const std::string logBefore = wine::ReadAll(wine::LogFile(1));

  StopCompatibilityAssistant(std::move(manager));
  StartCompatibilityAssistant(plat::ScManagerHandle(plat::OpenSCManagerW(plat::kGenericExecute)));

  EXPECT_EQ(wine::ReadAll(wine::LogFile(1)), logBefore);
  const wine::SpoolerStatus after = wine::QuerySpooler();
  EXPECT_EQ(after.state, DWORD(SERVICE_RUNNING));
  EXPECT_EQ(after.processId, spooler.processId);  // neither stopped nor restarted
}

}  // namespace
