#include "ui/wizard_flow.h"

#include "engine/protected_print.h"


namespace {

constexpr uint32_t kWmKeyDown = 0x100;
constexpr uint32_t kWmSysKeyDown = 0x104;
constexpr uintptr_t kVkReturn = 0x0D;
constexpr uintptr_t kVkEscape = 0x1B;
constexpr intptr_t kPreviousKeyDown = intptr_t{1} << 30;  // lParam: the key was down already

const wchar_t kPromptTitle[] = L"安装提示";
const wchar_t kNoModelText[] = L"请选择打印机型号。";
const wchar_t kNoPortText[] = L"请选择打印机端口。";
// Finish with protected print mode on.
const wchar_t kProtectedPrintMessage[] =
    L"此电脑已开启 Windows 受保护的打印模式，只能使用 Windows 自带的打印驱动程序，"
    L"不能安装 Quillex 打印机驱动程序。\n\n请联系管理员关闭“配置 Windows 受保护的打印”策略后再安装。";

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

std::optional<WizardPrompt> CWizardFlow::MissingSelection(bool modelSelected, bool portSelected) const {
  if (m_nPage < ModelPage || m_nPage >= InstallPage) return std::nullopt;
  if (!modelSelected) return WizardPrompt{kPromptTitle, kNoModelText};
  if (m_nPage >= PortPage && !portSelected) return WizardPrompt{kPromptTitle, kNoPortText};
  return std::nullopt;
}

std::optional<WizardPrompt> CWizardFlow::RefusedInstall(bool protectedPrintOn) const {
  if (m_nPage != ConfirmPage || !protectedPrintOn) return std::nullopt;
  return WizardPrompt{kPromptTitle, kProtectedPrintMessage};
}

WizardKey CWizardFlow::ClassifyKey(uint32_t message, uintptr_t key, intptr_t lParam) const {
  const bool repeat = (lParam & kPreviousKeyDown) != 0;
  if (message == kWmSysKeyDown && key == 'N')
    return m_bInstalling || repeat ? WizardKey::Consume : WizardKey::Next;
  if (message == kWmSysKeyDown && key == 'B')
    return m_bInstalling || repeat || m_nPage == ModelPage ? WizardKey::Consume : WizardKey::Back;
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
