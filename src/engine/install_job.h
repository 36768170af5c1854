// One installation: the record the wizard hands to the install worker, the
// worker itself, and its one report to the wizard.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "catalog/pin_family.h"
#include "platform/handle.h"

// Sent once per job to the job's owner window: wParam 0, lParam 1 when the
// installation succeeded and 0 when it failed. The sender waits until the
// wizard has handled it.
constexpr uint32_t WM_INSTALL_DONE = 0x465;  // WM_USER + 0x65

// A model's data file is its name followed by this, in every branch.
inline constexpr wchar_t kDataFileSuffix[] = L".GPD";
// The family the wizard and the install program install.
inline constexpr PinFamily kInstalledFamily = Pin24;

struct InstallJob {
  plat::Handle ownerWindow = nullptr;  // receives WM_INSTALL_DONE
  std::wstring modelName;              // without the "Quillex " prefix
  std::wstring portName;
  std::wstring dataFile;  // modelName + ".GPD"
  PinFamily pinFamily = Pin24;
  std::wstring detectedModel;  // the connected printer's model, "" when none was found
};

// Thread procedure: runs the job (an InstallJob it owns and frees), reports
// WM_INSTALL_DONE exactly once and returns 0.
uint32_t InstallWorker(void* job);

// Starts InstallWorker on a thread of its own, which takes over the job. When
// no thread can be started, the installation has failed: the starting side
// sends WM_INSTALL_DONE with lParam 0 itself, so the wizard never waits for a
// worker that does not exist.
bool StartInstallWorker(std::unique_ptr<InstallJob> job);
