#include "report/install_steps.h"

#include <atomic>

namespace {
std::atomic<StepObserver> g_observer{nullptr};
}

void SetStepObserver(StepObserver observer) { g_observer = observer; }

void ReportStep(InstallStep step, const std::wstring& detail) {
  if (StepObserver observer = g_observer.load()) observer(step, detail);
}
