// The readme file as the readme dialog loads it: any bytes, decoded by their
// byte-order mark or else as code page 936. The display lines are at most
// 256, each at most 30 characters without a line end, and together they are
// the text with its line ends taken out (all of it while under the cap).
// Wheel turns keep the first line between 0 and the last full page's first
// line, and reach the readme's last line.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/sim/machine.h"
#include "ui/readme_text.h"

namespace {

const std::wstring kReadme = L"C:\\Setup\\readme.txt";

void Check(bool holds) {
  if (!holds) __builtin_trap();
}

// The text without its line ends: LF, and CR before LF or at the very end.
std::wstring WithoutLineEnds(const std::wstring& text) {
  std::wstring kept;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\n') continue;
    if (text[i] == L'\r' && (i + 1 == text.size() || text[i + 1] == L'\n')) continue;
    kept.push_back(text[i]);
  }
  return kept;
}

void CheckLines(const std::vector<std::wstring>& lines, const std::string& bytes) {
  Check(lines.size() <= kReadmeMaxLines);
  std::wstring joined;
  for (const std::wstring& line : lines) {
    Check(line.size() <= kReadmeLineWidth);
    Check(line.find(L'\n') == std::wstring::npos);
    joined += line;
  }
  const std::wstring text = WithoutLineEnds(DecodeReadme(bytes.substr(0, kReadmeMaxBytes)));
  Check(text.starts_with(joined));
  if (lines.size() < kReadmeMaxLines) Check(joined == text);
}

// Turns the wheel down past the end and back up past the start.
void CheckScrolling(int lineCount, int clientHeight) {
  const int page = ReadmePageLines(clientHeight);
  Check(page >= 0);
  const int lastFirst = std::max(0, lineCount - page);
  int first = 0;
  for (int turn = 0; turn <= lineCount; ++turn) {
    Check(ScrollReadme(first, lineCount, page, -119) == first);
    first = ScrollReadme(first, lineCount, page, -120);
    Check(first >= 0 && first <= lastFirst);
  }
  Check(first == lastFirst);
  Check(page == 0 || first + page >= lineCount);
  for (int turn = 0; turn <= lineCount; ++turn) {
    Check(ScrollReadme(first, lineCount, page, 240) == first);
    first = ScrollReadme(first, lineCount, page, 120);
    Check(first >= 0 && first <= lastFirst);
  }
  Check(first == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  sim::Machine& m = sim::machine();
  m.transcript.Clear();  // one input's calls only: the machine lives for the whole run
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  m.fs.AddFile(kReadme, bytes);

  std::vector<std::wstring> lines;
  Check(LoadReadmeLines(kReadme, lines));
  CheckLines(lines, bytes);
  // No room for a line, room for exactly one, the dialog's height, a tall one.
  for (int height : {0, kReadmeTextTop + kReadmeFrameInset + kReadmeLinePitch, 520, 8000})
    CheckScrolling(static_cast<int>(lines.size()), height);
  return 0;
}
