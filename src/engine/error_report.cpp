#include "engine/error_report.h"

#include <atomic>

namespace {
std::atomic<ErrorPresenter> g_presenter{nullptr};
}

void SetErrorPresenter(ErrorPresenter presenter) { g_presenter = presenter; }

void ShowErrorCode(const std::wstring& code) {
  if (ErrorPresenter presenter = g_presenter.load()) presenter(code);
}
