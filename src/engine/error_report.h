// The error report: a short code text ("1" to "6") shown to the user in the
// installation-failed box. The engine does not know the box: the application
// installs a presenter at start-up (tests install a recorder).
#pragma once
#include <string>

// Shows `code` and returns when the user has closed the box.
using ErrorPresenter = void (*)(const std::wstring& code);

void SetErrorPresenter(ErrorPresenter presenter);

// Shows the error box with `code` through the installed presenter; without
// one, the report is dropped.
void ShowErrorCode(const std::wstring& code);
