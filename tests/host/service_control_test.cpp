// Stopping and starting services, the spooler restart, the compatibility
// assistant and the start-up service thread, on the simulated service manager.
#include <gtest/gtest.h>

#include <numeric>

#include "engine/compatibility_assistant.h"
#include "engine/service_control.h"
#include "engine/service_thread.h"
#include "engine/service_wait.h"
#include "platform/error.h"
#include "platform/services.h"
#include "sim_test.h"

namespace {

using Strings = std::vector<std::wstring>;
using Sleeps = std::vector<uint32_t>;

class ServiceControlTest : public SimTest {
 protected:
  sim::Service& Spooler() { return *M().services.Find(L"Spooler"); }
  uint32_t SpoolerState() { return M().services.State(L"Spooler"); }
  uint32_t TotalSleep() {
    const Sleeps& s = M().clock.Sleeps();
    return std::accumulate(s.begin(), s.end(), 0u);
  }
  // Every routine closes what it opened.
  void TearDown() override {
    EXPECT_EQ(M().services.OpenHandles(), 0u);
    SimTest::TearDown();
  }
};

TEST_F(ServiceControlTest, StopAsksOnceAndDoesNotWait) {
  Spooler().stopPolls = 3;
  EXPECT_TRUE(StopServiceByName(L"Spooler"));
  EXPECT_EQ(SpoolerState(), plat::kServiceStopPending);
  EXPECT_EQ(M().transcript.Ops({"OpenSCManagerW", "OpenServiceW", "ControlService", "Sleep"}),
            (std::vector<std::string>{"OpenSCManagerW", "OpenServiceW", "ControlService"}));
  EXPECT_EQ(M().transcript.Calls()[0].detail, L"0xF003F");
  EXPECT_EQ(M().transcript.Calls()[1].detail, L"Spooler 0xF01FF");

  // Already stopped: true without a request.
  Spooler().state = plat::kServiceStopped;
  M().transcript.Clear();
  EXPECT_TRUE(StopServiceByName(L"Spooler"));
  EXPECT_EQ(M().transcript.Count("ControlService"), 0u);
  EXPECT_TRUE(LogMessages().empty());
}

TEST_F(ServiceControlTest, FailuresAreLoggedWithTheFailingCallAndItsError) {
  M().faults.Fail("OpenSCManagerW", plat::kErrorAccessDenied);
  EXPECT_FALSE(StopServiceByName(L"Spooler"));
  EXPECT_FALSE(StartServiceAndWait(L"NoSuchService"));
  Spooler().stopError = plat::kErrorAccessDenied;
  EXPECT_FALSE(StopServiceByName(L"Spooler"));
  Spooler().state = plat::kServiceStopped;
  Spooler().startError = 1058;
  M().kernel.messages[1058] = L"The service cannot be started.\r\n";
  EXPECT_FALSE(StartServiceAndWait(L"Spooler"));
  EXPECT_EQ(LogMessages(), (Strings{
                               L"OpenSCManager failed with error 5: Access is denied.\r\n",
                               L"OpenService failed with error 1060: The specified service does not exist as an "
                               L"installed service.\r\n",
                               L"ControlService failed with error 5: Access is denied.\r\n",
                               L"StartService failed with error 1058: The service cannot be started.\r\n",
                           }));
}

TEST_F(ServiceControlTest, StartPollsAtTheServicesOwnWaitHint) {
  Spooler().state = plat::kServiceStopped;
  Spooler().startPolls = 3;
  Spooler().waitHint = 250;
  EXPECT_TRUE(StartServiceAndWait(L"Spooler"));
  EXPECT_EQ(SpoolerState(), plat::kServiceRunning);
  // Three reads show start pending, the fourth shows it running: each waits its hint.
  EXPECT_EQ(M().clock.Sleeps(), (Sleeps{250, 250, 250, 250}));

  // A hint of 0 polls without pausing.
  Spooler().state = plat::kServiceStopped;
  Spooler().waitHint = 0;
  M().transcript.Clear();
  EXPECT_TRUE(StartServiceAndWait(L"Spooler"));
  EXPECT_EQ(M().transcript.Ops({"StartServiceW", "QueryServiceStatus", "Sleep"}),
            (std::vector<std::string>{"QueryServiceStatus", "StartServiceW", "QueryServiceStatus", "Sleep",
                                      "QueryServiceStatus", "Sleep", "QueryServiceStatus", "Sleep",
                                      "QueryServiceStatus", "Sleep"}));
  EXPECT_EQ(TotalSleep(), 1000u);
}

TEST_F(ServiceControlTest, StartLeavesARunningOrStartingServiceAlone) {
  EXPECT_TRUE(StartServiceAndWait(L"Spooler"));
  Spooler().state = plat::kServiceStartPending;
  Spooler().pendingPolls = sim::kForever;
  EXPECT_TRUE(StartServiceAndWait(L"Spooler"));
  M().faults.Fail("QueryServiceStatus", plat::kErrorAccessDenied);
  Spooler().state = plat::kServiceStopped;
  EXPECT_TRUE(StartServiceAndWait(L"Spooler"));  // an unreadable status counts as not stopped
  EXPECT_EQ(M().transcript.Count("StartServiceW"), 0u);
  EXPECT_TRUE(M().clock.Sleeps().empty());
}

TEST_F(ServiceControlTest, StartWaitsForAStopInProgressAndThenStarts) {
  Spooler().state = plat::kServiceStopPending;
  Spooler().pendingPolls = 2;
  Spooler().waitHint = 400;
  EXPECT_TRUE(StartServiceAndWait(L"Spooler"));
  EXPECT_EQ(SpoolerState(), plat::kServiceRunning);
  EXPECT_EQ(M().transcript.Count("StartServiceW"), 1u);
}

TEST_F(ServiceControlTest, RestartWhosePauseIsTooShortStillLeavesTheSpoolerRunning) {
  Spooler().stopPolls = 5;
  Spooler().waitHint = 1000;
  EXPECT_TRUE(RestartSpooler());
  EXPECT_EQ(SpoolerState(), plat::kServiceRunning);
  // Pause; the rest of the stop: four reads still stopping, one stopped; the start's poll; pause.
  EXPECT_EQ(M().clock.Sleeps(), (Sleeps{2000, 1000, 1000, 1000, 1000, 1000, 1000, 2000}));
  EXPECT_TRUE(LogMessages().empty());
}

TEST_F(ServiceControlTest, RestartGivesUpAtTheFirstFailure) {
  Spooler().stopError = plat::kErrorAccessDenied;
  EXPECT_FALSE(RestartSpooler());
  EXPECT_EQ(M().transcript.Count("StartServiceW"), 0u);
  Spooler().stopError = 0;
  Spooler().startError = plat::kErrorAccessDenied;
  EXPECT_FALSE(RestartSpooler());
  EXPECT_EQ(SpoolerState(), plat::kServiceStopped);  // nothing tries again
  EXPECT_EQ(LogMessages(), (Strings{L"ControlService failed with error 5: Access is denied.\r\n", L"关闭服务失败",
                                    L"StartService failed with error 5: Access is denied.\r\n", L"开启服务失败"}));
  EXPECT_EQ(M().clock.Sleeps(), (Sleeps{2000}));
}

TEST_F(ServiceControlTest, AServiceThatNeverStartsIsGivenUpAfterThirtySecondsOfHints) {
  Spooler().state = plat::kServiceStopped;
  Spooler().startPolls = sim::kForever;
  Spooler().waitHint = 7000;
  EXPECT_FALSE(StartServiceAndWait(L"Spooler"));
  EXPECT_EQ(M().clock.Sleeps(), (Sleeps{7000, 7000, 7000, 7000, 2000}));
  EXPECT_EQ(LogMessages(), (Strings{L"Waiting for Spooler to start failed with error 1460: This operation returned "
                                    L"because the timeout period expired.\r\n"}));
}

TEST_F(ServiceControlTest, AHintOfZeroIsGivenUpAfterThreeHundredPolls) {
  Spooler().state = plat::kServiceStopped;
  Spooler().startPolls = sim::kForever;
  EXPECT_FALSE(StartServiceAndWait(L"Spooler"));
  EXPECT_EQ(M().transcript.Count("QueryServiceStatus"), 1u + kServicePollLimit);
  EXPECT_EQ(M().clock.Sleeps(), Sleeps(kServicePollLimit, 0));
}

TEST_F(ServiceControlTest, AStopThatNeverEndsIsNotFollowedByAStart) {
  Spooler().stopPolls = sim::kForever;
  Spooler().waitHint = 3000;
  EXPECT_FALSE(RestartSpooler());
  EXPECT_EQ(M().transcript.Count("StartServiceW"), 0u);
  EXPECT_EQ(TotalSleep(), 2000u + kServiceWaitLimitMs);
  EXPECT_EQ(LogMessages(), (Strings{L"Waiting for Spooler to stop failed with error 1460: This operation returned "
                                    L"because the timeout period expired.\r\n",
                                    L"开启服务失败"}));
}

class CompatibilityAssistantTest : public ServiceControlTest {
 protected:
  sim::Service& Pca() { return *M().services.Find(L"PcaSvc"); }
  plat::ScManagerHandle Manager() { return plat::ScManagerHandle(plat::OpenSCManagerW(plat::kGenericExecute)); }
};

TEST_F(CompatibilityAssistantTest, StopAndStartWaitForTheStateAndSayWhenDone) {
  Pca().stopPolls = 2;
  Pca().startPolls = 1;
  Pca().waitHint = 500;
  StopCompatibilityAssistant(Manager());
  EXPECT_EQ(M().services.State(L"PcaSvc"), plat::kServiceStopped);
  EXPECT_EQ(M().transcript.Calls()[1].detail, L"PcaSvc 0x34");
  StartCompatibilityAssistant(Manager());
  EXPECT_EQ(M().services.State(L"PcaSvc"), plat::kServiceRunning);
  EXPECT_EQ(M().kernel.debugOutput, (Strings{L"stop success。", L"start success。"}));
  EXPECT_EQ(M().clock.Sleeps(), (Sleeps{500, 500, 500, 500, 500}));
}

TEST_F(CompatibilityAssistantTest, AbsentWrongStateOrFailingServiceEndsQuietly) {
  StartCompatibilityAssistant(Manager());  // running: nothing to start
  Pca().stopError = plat::kErrorAccessDenied;
  StopCompatibilityAssistant(Manager());
  Pca().stopError = 0;
  Pca().stopPolls = sim::kForever;
  Pca().waitHint = 10000;
  StopCompatibilityAssistant(Manager());  // never stops: given up after the bound
  EXPECT_EQ(TotalSleep(), kServiceWaitLimitMs);
  M().services.Remove(L"PcaSvc");
  StopCompatibilityAssistant(Manager());
  StartCompatibilityAssistant(Manager());
  EXPECT_EQ(M().transcript.Count("StartServiceW"), 0u);
  EXPECT_TRUE(M().kernel.debugOutput.empty());
  EXPECT_TRUE(LogMessages().empty());
}

TEST_F(CompatibilityAssistantTest, ServiceThreadStopsTheAssistantAndLeavesARunningSpooler) {
  EXPECT_EQ(ServiceThreadProc(), 0u);
  EXPECT_EQ(M().services.State(L"PcaSvc"), plat::kServiceStopped);
  EXPECT_EQ(M().transcript.Count("StartServiceW"), 0u);
  EXPECT_TRUE(LogMessages().empty());
}

TEST_F(CompatibilityAssistantTest, ServiceThreadStartsAStoppedSpoolerAndLogsWhenItCannot) {
  Spooler().state = plat::kServiceStopped;
  M().faults.Fail("OpenSCManagerW", plat::kErrorAccessDenied);  // the assistant's manager
  EXPECT_EQ(ServiceThreadProc(), 0u);
  EXPECT_EQ(SpoolerState(), plat::kServiceRunning);
  EXPECT_EQ(M().services.State(L"PcaSvc"), plat::kServiceRunning);
  M().services.Remove(L"Spooler");
  EXPECT_EQ(ServiceThreadProc(), 0u);
  EXPECT_EQ(LogMessages(), (Strings{L"OpenService failed with error 1060: The specified service does not exist as "
                                    L"an installed service.\r\n",
                                    L"开启服务失败"}));
}

}  // namespace
