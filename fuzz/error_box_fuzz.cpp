// The error box's layout of any message: UTF-16 units from the bytes (little
// endian). The message follows its label in pieces of at most 21 characters
// that give it back whole, all but the last full; lines go down the box and
// the button sits below the last one.
#include <cstddef>
#include <cstdint>
#include <string>

#include "ui/error_layout.h"

namespace {

constexpr std::size_t kPiece = 21;
constexpr int kLineHeight = 21;  // a line's step; the text is 12 pixels high
const std::wstring kLabel = L"错误代码：";
constexpr std::size_t kHintLines = 2;

void Check(bool holds) {
  if (!holds) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::wstring message(size / 2, L'\0');
  for (std::size_t i = 0; i < message.size(); ++i)
    message[i] = static_cast<wchar_t>(data[2 * i] | data[2 * i + 1] << 8);

  const ErrorLayout layout = LayOutErrorPage(message);
  Check(layout.runs.size() >= 1 + kHintLines);
  Check(layout.runs.front().text.starts_with(kLabel));

  const std::size_t pieces = layout.runs.size() - kHintLines;
  std::wstring joined;
  for (std::size_t i = 0; i < pieces; ++i) {
    std::wstring piece = layout.runs[i].text;
    if (i == 0) piece.erase(0, kLabel.size());
    Check(piece.size() <= kPiece);
    Check(i + 1 == pieces || piece.size() == kPiece);
    joined += piece;
  }
  Check(joined == message);

  for (std::size_t i = 1; i < layout.runs.size(); ++i) Check(layout.runs[i].y > layout.runs[i - 1].y);
  Check(layout.buttonY >= layout.runs.back().y + kLineHeight);
  return 0;
}
