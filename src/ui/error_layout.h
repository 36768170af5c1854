// Where the error box (CDlgMesError) puts its texts and its button: the
// message after its label in pieces of 21 characters, then two hint lines.
#pragma once
#include <string>
#include <vector>

#include "ui/dpi_scale.h"

struct ErrorTextRun {
  int x = 0, y = 0;
  std::wstring text;
};

struct ErrorLayout {
  std::vector<ErrorTextRun> runs;  // in drawing order
  int buttonY = 205;
};

// The layout at `dpi`: each point of the 96-DPI layout scaled once.
ErrorLayout LayOutErrorPage(const std::wstring& message, int dpi = kBaseDpi);
