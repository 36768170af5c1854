#include "ui/wizard_flow.h"


namespace {

constexpr uint32_t kWmKeyDown = 0x100;
constexpr uint32_t kWmSysKeyDown = 0x104;
constexpr uintptr_t kVkReturn = 0x0D;
constexpr uintptr_t kVkEscape = 0x1B;

bool IsWizardPage(int index) { return index >= ModelPage && index <= InstallPage; }

}  // namespace

int s_nHoldTicks = 0;

PageSwitch CWizardFlow::SwitchPage(int newIndex, int oldIndex) const {
  if (m_bInstalling) return {};
  return {IsWizardPage(oldIndex) ? oldIndex : 0, IsWizardPage(newIndex) ? newIndex : 0};
}

bool CWizardFlow::BeginInstall() {
  if (m_bInstalling) return false;
  m_bInstalling = true;
  return true;
}

WizardKey CWizardFlow::ClassifyKey(uint32_t message, uintptr_t key) const {
  if (message == kWmSysKeyDown && key == 'N') return m_bInstalling ? WizardKey::Consume : WizardKey::Next;
  if (message == kWmSysKeyDown && key == 'B')
    return m_bInstalling || m_nPage == ModelPage ? WizardKey::Consume : WizardKey::Back;
  if (message == kWmKeyDown && (key == kVkEscape || key == kVkReturn)) return WizardKey::Consume;
  return WizardKey::Pass;
}

ProgressTick AdvanceProgressAnimation(int position) {
  ProgressTick tick;
  if (s_nHoldTicks > 0) {
    --s_nHoldTicks;
    tick.redrawOnly = true;
    return tick;
  }
  if (position >= 100) {
    s_nHoldTicks = kHoldTicksAfterFull;
    tick.newPosition = 0;
  }
  if (s_nHoldTicks == 0) tick.newPosition = position + 1;
  return tick;
}
