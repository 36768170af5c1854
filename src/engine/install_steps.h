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
};

using StepObserver = void (*)(InstallStep step, const std::wstring& detail);

void SetStepObserver(StepObserver observer);
void ReportStep(InstallStep step, const std::wstring& detail);
