// What the wizard decides without a window: which page follows which, what a
// key does, what the progress animation shows next, and the install job the
// chosen settings make. The window (setup_dlg_win.cpp) only applies it.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "engine/install_job.h"
#include "platform/handle.h"

enum WizardPage : int { ModelPage = 1, PortPage = 2, ConfirmPage = 3, InstallPage = 4 };

// A page switch: leave one page, enter another; 0 where there is nothing to do.
struct PageSwitch {
  int leave = 0;
  int enter = 0;
};

// What the keyboard pre-filter does with one message.
enum class WizardKey { Pass, Consume, Next, Back };

// A message box the wizard shows instead of stepping forward.
struct WizardPrompt {
  std::wstring title;
  std::wstring text;
};

// The page index and whether an installation runs. From the moment the
// install page is entered until the worker's report is handled, the wizard neither moves
// between pages nor closes: the worker may have stopped the spooler or
// half-registered a driver, and a second install must never start beside it.
class CWizardFlow {
 public:
  int Page() const { return m_nPage; }
  bool InstallRunning() const { return m_bInstalling; }

  // Leave `oldIndex` and enter `newIndex`; an index outside the four pages is
  // neither left nor entered. Refused (nothing to do) while an install runs.
  PageSwitch SwitchPage(int newIndex, int oldIndex) const;
  PageSwitch Next() const { return SwitchPage(m_nPage + 1, m_nPage); }
  PageSwitch Back() const { return SwitchPage(m_nPage - 1, m_nPage); }

  // Called by each page's show operation when it is entered.
  void Entered(int page) { m_nPage = page; }
  // The install page starts the worker: true once, false while one runs.
  bool BeginInstall();
  void InstallDone() { m_bInstalling = false; }

  // Next and Finish need a model from the model page on and a port from the
  // port page on: the box to show instead of stepping forward, if any.
  // `modelSelected`/`portSelected`: the model and port lists hold a selection.
  std::optional<WizardPrompt> MissingSelection(bool modelSelected, bool portSelected) const;
  // Finish on the confirmation page while Windows protected print mode is on
  // (`protectedPrintOn`): the box that says no driver of ours can be
  // installed, shown before anything is copied; the wizard stays.
  std::optional<WizardPrompt> RefusedInstall(bool protectedPrintOn) const;

  // Alt+N steps forward; Alt+B steps back except on the model page; Esc and
  // Enter are swallowed so that neither closes the wizard nor presses a button.
  // A held key's repeats (lParam bit 30) do nothing: holding Alt+N must not
  // run past the confirmation page into the install.
  WizardKey ClassifyKey(uint32_t message, uintptr_t key, intptr_t lParam) const;

  // The close box, Alt+F4, the system menu's Close and WM_CLOSE.
  bool MayClose() const { return !m_bInstalling; }

 private:
  int m_nPage = 0;
  bool m_bInstalling = false;
};

// The install page's activity animation, one timer tick: the bar climbs by one
// from 0 to 100, falls back to 0, rests there for 20 ticks and climbs again.
extern int s_nHoldTicks;
constexpr int kHoldTicksAfterFull = 20;

struct ProgressTick {
  bool redrawOnly = false;             // a resting tick: repaint, change nothing
  std::optional<int> newPosition;      // PBM_SETPOS to send, if any
};
ProgressTick AdvanceProgressAnimation(int position);
