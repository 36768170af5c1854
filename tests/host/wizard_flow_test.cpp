// The wizard's decisions without a window: page bounds, keys, the refusals
// while an install runs, the model line and the job, the animation over ticks.
#include "ui/wizard_flow.h"

#include <gtest/gtest.h>

#include "engine/install_road.h"
#include "engine/printer_queue.h"

namespace {

constexpr uint32_t kWmKeyDown = 0x100, kWmSysKeyDown = 0x104, kWmChar = 0x102;
constexpr intptr_t kFirstPress = 1;  // one stroke, the key was up before
constexpr intptr_t kRepeat = kFirstPress | (intptr_t{1} << 30);  // the key was down already

TEST(WizardFlow, SwitchPageLeavesAndEntersOnlyTheFourPages) {
  CWizardFlow flow;
  flow.Entered(ModelPage);
  EXPECT_EQ(flow.Back().leave, ModelPage);
  EXPECT_EQ(flow.Back().enter, 0);  // nothing before the model page
  flow.Entered(InstallPage);
  EXPECT_EQ(flow.Next().leave, InstallPage);
  EXPECT_EQ(flow.Next().enter, 0);  // nothing after the install page
  EXPECT_EQ(flow.SwitchPage(ConfirmPage, PortPage).enter, ConfirmPage);
}

TEST(WizardFlow, KeysOnEachPage) {
  CWizardFlow flow;
  flow.Entered(ModelPage);
  EXPECT_EQ(flow.ClassifyKey(kWmSysKeyDown, 'N', kFirstPress), WizardKey::Next);
  EXPECT_EQ(flow.ClassifyKey(kWmSysKeyDown, 'B', kFirstPress), WizardKey::Consume);  // no page before
  EXPECT_EQ(flow.ClassifyKey(kWmKeyDown, 0x1B, kFirstPress), WizardKey::Consume);
  EXPECT_EQ(flow.ClassifyKey(kWmKeyDown, 0x0D, kFirstPress), WizardKey::Consume);
  EXPECT_EQ(flow.ClassifyKey(kWmKeyDown, 'N', kFirstPress), WizardKey::Pass);  // plain N types into the list
  EXPECT_EQ(flow.ClassifyKey(kWmChar, 0x1B, kFirstPress), WizardKey::Pass);
  flow.Entered(ConfirmPage);
  EXPECT_EQ(flow.ClassifyKey(kWmSysKeyDown, 'B', kFirstPress), WizardKey::Back);
  EXPECT_EQ(flow.ClassifyKey(kWmSysKeyDown, 'N', kFirstPress), WizardKey::Next);  // Alt+N starts the install
  // A held Alt+N steps once: its repeats must not run on into the install.
  EXPECT_EQ(flow.ClassifyKey(kWmSysKeyDown, 'N', kRepeat), WizardKey::Consume);
  EXPECT_EQ(flow.ClassifyKey(kWmSysKeyDown, 'B', kRepeat), WizardKey::Consume);
  EXPECT_EQ(flow.ClassifyKey(kWmKeyDown, 0x1B, kRepeat), WizardKey::Consume);
  EXPECT_EQ(flow.ClassifyKey(kWmKeyDown, 0x28, kRepeat), WizardKey::Pass);  // a held arrow still scrolls a list
}

// Next and Finish stay on the page with a box while the model (from the
// model page on) or the port (from the port page on) is not selected.
TEST(WizardFlow, NextAndFinishNeedAModelAndAPort) {
  const std::wstring noModel = L"请选择打印机型号。", noPort = L"请选择打印机端口。";
  struct Case {
    int page;
    bool model, port;
    std::wstring text;  // empty: the step goes ahead
  };
  const Case cases[] = {
      {ModelPage, false, false, noModel},
      {ModelPage, true, false, L""},  // the port list is not filled yet
      {PortPage, true, false, noPort},
      {PortPage, true, true, L""},
      {ConfirmPage, true, false, noPort},  // Finish
      {ConfirmPage, false, true, noModel},
      {ConfirmPage, true, true, L""},
      {InstallPage, false, false, L""},
  };
  for (const Case& c : cases) {
    CWizardFlow flow;
    flow.Entered(c.page);
    std::optional<WizardPrompt> prompt = flow.MissingSelection(c.model, c.port);
    EXPECT_EQ(prompt ? prompt->text : L"", c.text) << c.page << c.model << c.port;
    if (prompt) {
      EXPECT_EQ(prompt->title, L"安装提示");
    }
  }
  // Protected print mode stops Finish alone.
  CWizardFlow flow;
  flow.Entered(PortPage);
  EXPECT_FALSE(flow.RefusedInstall(true));
  flow.Entered(ConfirmPage);
  EXPECT_FALSE(flow.RefusedInstall(false));
  ASSERT_TRUE(flow.RefusedInstall(true));
  EXPECT_NE(flow.RefusedInstall(true)->text.find(L"受保护的打印模式"), std::wstring::npos);
}

TEST(WizardFlow, WhileInstallingNothingMovesOrCloses) {
  CWizardFlow flow;
  flow.Entered(InstallPage);
  ASSERT_TRUE(flow.BeginInstall());
  EXPECT_FALSE(flow.BeginInstall());  // never a second worker
  EXPECT_EQ(flow.ClassifyKey(kWmSysKeyDown, 'N', kFirstPress), WizardKey::Consume);
  EXPECT_EQ(flow.ClassifyKey(kWmSysKeyDown, 'B', kFirstPress), WizardKey::Consume);
  EXPECT_EQ(flow.Back().leave + flow.Back().enter, 0);
  EXPECT_FALSE(flow.MayClose());
  flow.InstallDone();
  EXPECT_TRUE(flow.MayClose());
}

TEST(WizardFlow, ModelLineAndJob) {
  EXPECT_EQ(ModelFromListLine(L"Quillex KD-200"), L"KD-200");
  EXPECT_EQ(ModelFromListLine(L"KD-200"), L"KD-200");
  EXPECT_EQ(ModelFromListLine(L"Big Quillex KD"), L"Big Quillex KD");  // prefix only at the start
  EXPECT_EQ(BrandedModelName(L"KD-200"), L"Quillex KD-200");
  EXPECT_EQ(BrandedModelName(L"Quillex KD-200"), L"Quillex KD-200");

  const InstallJob job = MakeInstallJob(reinterpret_cast<plat::Handle>(7), L"KD-200", L"USB001", L"KD-200");
  EXPECT_EQ(job.ownerWindow, reinterpret_cast<plat::Handle>(7));
  EXPECT_EQ(job.dataFile, L"KD-200.GPD");
  EXPECT_EQ(job.portName, L"USB001");
  EXPECT_EQ(job.detectedModel, L"KD-200");
  EXPECT_EQ(job.pinFamily, Pin24);
}

// Over many ticks: 100 ticks (3 s) to reach 100, back to 0, 20 resting ticks
// (600 ms), then climbing again.
TEST(WizardFlow, ProgressAnimationCycle) {
  s_nHoldTicks = 0;
  int position = 0, ticks = 0, resting = 0;
  auto tick = [&] {
    ProgressTick t = AdvanceProgressAnimation(position);
    ++ticks;
    if (t.redrawOnly) ++resting;
    if (t.newPosition) position = *t.newPosition;
  };
  while (position < 100) tick();
  EXPECT_EQ(ticks, 100);
  tick();
  EXPECT_EQ(position, 0);
  EXPECT_EQ(s_nHoldTicks, 20);
  for (int i = 0; i < 20; ++i) tick();
  EXPECT_EQ(resting, 20);
  EXPECT_EQ(position, 0);
  tick();
  EXPECT_EQ(position, 1);
  s_nHoldTicks = 0;
}

}  // namespace
