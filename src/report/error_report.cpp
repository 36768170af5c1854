#include "report/error_report.h"

#include <atomic>

#include "report/error_codes.h"

namespace {
std::atomic<ErrorPresenter> g_presenter{nullptr};
thread_local InstallReport* t_report = nullptr;

void Present(int code) {
  if (ErrorPresenter presenter = g_presenter.load()) presenter(code);
}
}  // namespace

void SetErrorPresenter(ErrorPresenter presenter) { g_presenter = presenter; }

void ShowErrorCode(int code) {
  if (!t_report) return Present(code);
  if (t_report->m_nCode == 0) t_report->m_nCode = code;
}

InstallReport::InstallReport() : m_pOuter(t_report) { t_report = this; }

InstallReport::~InstallReport() { t_report = m_pOuter; }

int InstallReport::Finish(bool succeeded) {
  t_report = m_pOuter;  // the box itself is no part of the installation
  if (succeeded) return 0;
  const int code = m_nCode != 0 ? m_nCode : kCodeUnexpected;
  Present(code);
  return code;
}
