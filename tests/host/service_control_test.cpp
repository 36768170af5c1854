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

const std::wstring kTimeoutText = L"failed with error 1460: This operation returned because the timeout period expired.\r\n";

class ServiceControlTest : public SimTest {
 protected:
  sim::Service& Service(const wchar_t* name) { return *M().services.Find(name); }
  uint32_t State(const wchar_t* name) { return M().services.State(name); }
  uint32_t TotalSleep() {
    const Sleeps& s = M().clock.Sleeps();
    return std::accumulate(s.begin(), s.end(), 0u);
  }
  plat::ScManagerHandle Manager() { return plat::ScManagerHandle(plat::OpenSCManagerW(plat::kGenericExecute)); }
  // Every routine closes what it opened.
  void TearDown() override {
    EXPECT_EQ(M().services.OpenHandles(), 0u);
    SimTest::TearDown();
  }
};

TEST_F(ServiceControlTest, StopAsksOnceWithFullAccessAndOnlyWhenNotStopped) {
  Service(L"Spooler").stopPolls = 3;
  EXPECT_TRUE(StopServiceByName(L"Spooler"));
  EXPECT_EQ(State(L"Spooler"), plat::kServiceStopPending);  // not waited for
  EXPECT_EQ(M().transcript.Calls()[0].detail, L"0xF003F");
  EXPECT_EQ(M().transcript.Calls()[1].detail, L"Spooler 0xF01FF");
  Service(L"Spooler").state = plat::kServiceStopped;
  EXPECT_TRUE(StopServiceByName(L"Spooler"));
  EXPECT_EQ(M().transcript.Count("ControlService"), 1u);
  EXPECT_TRUE(M().clock.Sleeps().empty());
}

TEST_F(ServiceControlTest, FailuresAreLoggedWithTheFailingCallAndItsError) {
  M().faults.Fail("OpenSCManagerW", plat::kErrorAccessDenied);
  EXPECT_FALSE(StopServiceByName(L"Spooler"));
  EXPECT_FALSE(StartServiceAndWait(L"NoSuchService"));
  Service(L"Spooler").stopError = plat::kErrorAccessDenied;
  EXPECT_FALSE(StopServiceByName(L"Spooler"));
  Service(L"Spooler").state = plat::kServiceStopped;
  Service(L"Spooler").startError = plat::kErrorAccessDenied;
  EXPECT_FALSE(StartServiceAndWait(L"Spooler"));
  EXPECT_EQ(LogMessages(), (Strings{
                               L"OpenSCManager failed with error 5: Access is denied.\r\n",
                               L"OpenService failed with error 1060: The specified service does not exist as an "
                               L"installed service.\r\n",
                               L"ControlService failed with error 5: Access is denied.\r\n",
                               L"StartService failed with error 5: Access is denied.\r\n",
                           }));
}

TEST_F(ServiceControlTest, StartPollsAtTheServicesOwnWaitHintZeroIncluded) {
  EXPECT_TRUE(StartServiceAndWait(L"Spooler"));  // running: nothing to do
  EXPECT_EQ(M().transcript.Count("StartServiceW"), 0u);
  sim::Service& spooler = Service(L"Spooler");
  spooler.state = plat::kServiceStopped;
  spooler.startPolls = 3;
  spooler.waitHint = 250;
  EXPECT_TRUE(StartServiceAndWait(L"Spooler"));
  EXPECT_EQ(State(L"Spooler"), plat::kServiceRunning);
  // Three reads show start pending and the fourth running; each waits its hint.
  EXPECT_EQ(M().clock.Sleeps(), (Sleeps{250, 250, 250, 250}));
  spooler.state = plat::kServiceStopped;
  spooler.waitHint = 0;
  EXPECT_TRUE(StartServiceAndWait(L"Spooler"));
  EXPECT_EQ(M().clock.Sleeps(), (Sleeps{250, 250, 250, 250, 0, 0, 0, 0}));
}

TEST_F(ServiceControlTest, RestartWhosePauseIsTooShortStillLeavesTheSpoolerRunning) {
  Service(L"Spooler").stopPolls = 5;
  Service(L"Spooler").waitHint = 1000;
  EXPECT_TRUE(RestartSpooler());
  EXPECT_EQ(State(L"Spooler"), plat::kServiceRunning);
  // Pause; the rest of the stop: four reads still stopping, one stopped; the start's poll; pause.
  EXPECT_EQ(M().clock.Sleeps(), (Sleeps{2000, 1000, 1000, 1000, 1000, 1000, 1000, 2000}));
  EXPECT_TRUE(LogMessages().empty());
}

// Fax needs the spooler, and a client of Fax needs Fax: Windows refuses the
// spooler's stop with 1051 while either runs. A stopped dependent stays stopped.
TEST_F(ServiceControlTest, RestartStopsTheRunningDependentsFirstAndStartsThemAgain) {
  M().services.Add(L"Fax", plat::kServiceRunning).dependsOn = {L"Spooler"};
  M().services.Add(L"FaxClient", plat::kServiceRunning).dependsOn = {L"Fax"};
  M().services.Add(L"PrintNotify", plat::kServiceStopped).dependsOn = {L"Spooler"};
  M().services.Find(L"Fax")->stopPolls = 2;
  plat::ServiceStatus status;
  {
    plat::ScManagerHandle manager = Manager();
    plat::ServiceHandle spooler(plat::OpenServiceW(manager.get(), L"Spooler", plat::kServiceAllAccess));
    EXPECT_FALSE(plat::ControlService(spooler.get(), plat::kServiceControlStop, status));
    EXPECT_EQ(plat::GetLastError(), plat::kErrorDependentServicesRunning);
  }
  M().transcript.Clear();
  EXPECT_TRUE(RestartSpooler());
  EXPECT_EQ(State(L"Spooler"), plat::kServiceRunning);
  EXPECT_EQ(State(L"Fax"), plat::kServiceRunning);
  EXPECT_EQ(State(L"FaxClient"), plat::kServiceRunning);
  EXPECT_EQ(State(L"PrintNotify"), plat::kServiceStopped);
  std::vector<std::wstring> order;
  for (const sim::Call& call : M().transcript.Calls())
    if (call.op == "ControlService" || call.op == "StartServiceW") order.push_back(call.detail);
  EXPECT_EQ(order, (Strings{L"FaxClient 1", L"Fax 1", L"Spooler 1", L"Spooler", L"Fax", L"FaxClient"}));
  EXPECT_TRUE(LogMessages().empty());

  // A dependent that will not start again is logged; the spooler runs all the same.
  M().services.Find(L"Fax")->startError = plat::kErrorAccessDenied;
  EXPECT_TRUE(RestartSpooler());
  EXPECT_EQ(State(L"Spooler"), plat::kServiceRunning);
  EXPECT_EQ(LogMessages().back(), L"开启服务失败：Fax");
  // One that will not stop stops nothing else.
  M().services.Add(L"Fax", plat::kServiceRunning).dependsOn = {L"Spooler"};
  M().services.Find(L"Fax")->stopError = plat::kErrorAccessDenied;
  EXPECT_FALSE(RestartSpooler());
  EXPECT_EQ(State(L"Spooler"), plat::kServiceRunning);
}

TEST_F(ServiceControlTest, RestartGivesUpAtTheFirstFailure) {
  Service(L"Spooler").stopError = plat::kErrorAccessDenied;
  EXPECT_FALSE(RestartSpooler());
  Service(L"Spooler").stopError = 0;
  Service(L"Spooler").startError = plat::kErrorAccessDenied;
  EXPECT_FALSE(RestartSpooler());
  EXPECT_EQ(State(L"Spooler"), plat::kServiceStopped);  // nothing tries again
  EXPECT_EQ(LogMessages(), (Strings{L"ControlService failed with error 5: Access is denied.\r\n", L"关闭服务失败",
                                    L"StartService failed with error 5: Access is denied.\r\n", L"开启服务失败"}));
  EXPECT_EQ(M().clock.Sleeps(), (Sleeps{2000}));
}

TEST_F(ServiceControlTest, AServiceThatNeverStartsIsGivenUpAfterThirtySecondsOnTheTickCount) {
  sim::Service& spooler = Service(L"Spooler");
  spooler.state = plat::kServiceStopped;
  spooler.startPolls = sim::kForever;
  spooler.waitHint = 7000;
  EXPECT_FALSE(StartServiceAndWait(L"Spooler"));
  // Each read takes 1 ms; the last pause is cut to end the wait at 30 s.
  EXPECT_EQ(M().clock.Sleeps(), (Sleeps{7000, 7000, 7000, 7000, 1995}));
  M().clock = sim::Clock();
  spooler.state = plat::kServiceStopped;
  spooler.waitHint = 0;
  EXPECT_FALSE(StartServiceAndWait(L"Spooler"));
  EXPECT_EQ(M().clock.Sleeps(), Sleeps(kServiceWaitLimitMs / sim::kStatusReadMs, 0));  // polled without a pause
  EXPECT_EQ(LogMessages(), (Strings{L"Waiting for Spooler to start " + kTimeoutText,
                                    L"Waiting for Spooler to start " + kTimeoutText}));
}

// A service that reports no wait hint but needs a few seconds to start is
// polled until it runs, not given up after a number of reads.
TEST_F(ServiceControlTest, AServiceWithoutAWaitHintIsWaitedForByTimeNotByReads) {
  sim::Service& spooler = Service(L"Spooler");
  spooler.state = plat::kServiceStopped;
  spooler.startPendingMs = 5000;
  EXPECT_TRUE(StartServiceAndWait(L"Spooler"));
  EXPECT_EQ(State(L"Spooler"), plat::kServiceRunning);
  EXPECT_EQ(TotalSleep(), 0u);
  spooler.stopPendingMs = 8000;
  EXPECT_TRUE(RestartSpooler());  // the stop outlasts the 2 s pause; the start waits for it
  EXPECT_EQ(State(L"Spooler"), plat::kServiceRunning);
  EXPECT_TRUE(LogMessages().empty());
}

// A status that cannot be read is no reason to leave a stopped service stopped.
TEST_F(ServiceControlTest, AFailedStatusReadStillStartsAStoppedServiceAndAcceptsARunningOne) {
  Service(L"Spooler").state = plat::kServiceStopped;
  M().faults.Fail("QueryServiceStatus", plat::kErrorAccessDenied);
  EXPECT_TRUE(StartServiceAndWait(L"Spooler"));
  EXPECT_EQ(State(L"Spooler"), plat::kServiceRunning);
  M().faults.Fail("QueryServiceStatus", plat::kErrorAccessDenied);
  EXPECT_TRUE(StartServiceAndWait(L"Spooler"));  // the start answers 1056: it runs
  EXPECT_TRUE(LogMessages().empty());
}

// Another thread started the spooler between the status read and the start.
TEST_F(ServiceControlTest, AStartThatFindsTheServiceAlreadyRunningCountsAsStarted) {
  sim::Service& spooler = Service(L"Spooler");
  spooler.state = plat::kServiceStopped;
  spooler.startRaces = 1;
  spooler.startPolls = 2;
  EXPECT_TRUE(StartServiceAndWait(L"Spooler"));
  EXPECT_EQ(State(L"Spooler"), plat::kServiceRunning);
  EXPECT_TRUE(LogMessages().empty());
  spooler.state = plat::kServiceStopped;
  spooler.startError = plat::kErrorAccessDenied;
  EXPECT_FALSE(StartServiceAndWait(L"Spooler"));  // other refusals still fail
}

TEST_F(ServiceControlTest, AStopThatNeverEndsIsNotFollowedByAStart) {
  Service(L"Spooler").stopPolls = sim::kForever;
  Service(L"Spooler").waitHint = 3000;
  EXPECT_FALSE(RestartSpooler());
  EXPECT_EQ(M().transcript.Count("StartServiceW"), 0u);
  EXPECT_EQ(TotalSleep(), 2000u + kServiceWaitLimitMs - 10 * sim::kStatusReadMs);  // ten reads in the wait
  EXPECT_EQ(LogMessages(), (Strings{L"Waiting for Spooler to stop " + kTimeoutText, L"开启服务失败"}));
}

TEST_F(ServiceControlTest, CompatibilityAssistantIsStoppedAndStartedWithItsOwnRights) {
  sim::Service& pca = Service(L"PcaSvc");
  pca.stopPolls = 2;
  pca.startPolls = 1;
  pca.waitHint = 500;
  StopCompatibilityAssistant(Manager());
  EXPECT_EQ(State(L"PcaSvc"), plat::kServiceStopped);
  EXPECT_EQ(M().transcript.Calls()[1].detail, L"PcaSvc 0x34");
  StartCompatibilityAssistant(Manager());
  EXPECT_EQ(State(L"PcaSvc"), plat::kServiceRunning);
  EXPECT_EQ(M().kernel.debugOutput, (Strings{L"stop success。", L"start success。"}));
  EXPECT_EQ(M().clock.Sleeps(), Sleeps(5, 500));
}

TEST_F(ServiceControlTest, CompatibilityAssistantEndsQuietlyWhateverGoesWrong) {
  StartCompatibilityAssistant(Manager());  // running: nothing to start
  Service(L"PcaSvc").stopError = plat::kErrorAccessDenied;
  StopCompatibilityAssistant(Manager());
  Service(L"PcaSvc").stopError = 0;
  Service(L"PcaSvc").stopPolls = sim::kForever;
  Service(L"PcaSvc").waitHint = 10000;
  StopCompatibilityAssistant(Manager());
  EXPECT_EQ(TotalSleep(), kServiceWaitLimitMs - 3 * sim::kStatusReadMs);  // three reads in the wait
  M().services.Remove(L"PcaSvc");
  StartCompatibilityAssistant(Manager());
  EXPECT_EQ(M().transcript.Count("StartServiceW"), 0u);
  EXPECT_TRUE(M().kernel.debugOutput.empty());
  EXPECT_TRUE(LogMessages().empty());
}

TEST_F(ServiceControlTest, ServiceThreadStopsTheAssistantAndMakesSureTheSpoolerRuns) {
  ServiceThreadRecord stopping;
  EXPECT_EQ(ServiceThreadProc(stopping), 0u);
  EXPECT_EQ(State(L"PcaSvc"), plat::kServiceStopped);
  EXPECT_TRUE(stopping.assistantStopped);
  EXPECT_TRUE(stopping.finished);
  EXPECT_EQ(M().transcript.Count("StartServiceW"), 0u);  // the spooler ran already
  Service(L"Spooler").state = plat::kServiceStopped;
  ServiceThreadRecord second;
  EXPECT_EQ(ServiceThreadProc(second), 0u);
  EXPECT_EQ(State(L"Spooler"), plat::kServiceRunning);
  EXPECT_FALSE(second.assistantStopped);  // it was stopped already
  EXPECT_TRUE(second.finished);
  EXPECT_TRUE(LogMessages().empty());
  M().services.Remove(L"Spooler");
  ServiceThreadRecord third;
  EXPECT_EQ(ServiceThreadProc(third), 0u);
  EXPECT_EQ(LogMessages(), (Strings{L"OpenService failed with error 1060: The specified service does not exist as "
                                    L"an installed service.\r\n",
                                    L"开启服务失败"}));
}

}  // namespace
