// The steps of one installation as they begin, for whoever follows them: the
// install program prints one line per step; the wizard shows its animation
// instead and follows none.
#pragma once
#include <string>

enum class InstallStep {
  PlugAndPlay,   // detail: the package's INF
  PrinterName,   // detail: the printer's name
  PackageFiles,  // detail: the spooler's driver folder
  InfStaging,    // detail: the INF
  Monitor,       // detail: the monitor's DLL
  Driver,        // detail: the driver's name
  Queue,         // detail: the port
  QueueKept,     // detail: the printer brought up to date in place
  // Removal (uninstall_road.h):
  RemovePrinter,    // detail: the printer's name
  RemoveDriver,     // detail: the driver's name
  RemoveInf,        // detail: the package's INF
  RemoveMonitor,    // detail: the monitor's name
  SharedPartsKept,  // detail: a printer of ours that still uses the INF and the monitor
  PendingDeletion,  // detail: a printer that waits for its jobs, and its driver that stays
  PrintersKept,     // detail: why no printer could be removed
};

using StepObserver = void (*)(InstallStep step, const std::wstring& detail);

void SetStepObserver(StepObserver observer);
void ReportStep(InstallStep step, const std::wstring& detail);
