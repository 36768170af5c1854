#include "ui/readme_text.h"

ReadmeEncodingMark DetectReadmeEncoding(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) return {ReadmeEncoding::Utf8, 3};
  if (bytes.starts_with("\xFF\xFE")) return {ReadmeEncoding::Utf16Le, 2};
  if (bytes.starts_with("\xFE\xFF")) return {ReadmeEncoding::Utf16Be, 2};
  return {};
}

std::vector<std::wstring> SplitReadmeDisplayLines(std::wstring_view text) {
  std::vector<std::wstring> lines;
  auto add = [&lines](std::wstring_view piece) {
    if (lines.size() < kReadmeMaxLines) lines.emplace_back(piece);
  };
  while (!text.empty() && lines.size() < kReadmeMaxLines) {
    std::size_t end = text.find(L'\n');
    std::wstring_view line = text.substr(0, end);
    text = end == std::wstring_view::npos ? std::wstring_view() : text.substr(end + 1);
    if (line.ends_with(L'\r')) line.remove_suffix(1);
    if (line.empty()) add(line);
    for (std::size_t at = 0; at < line.size(); at += kReadmeLineWidth) add(line.substr(at, kReadmeLineWidth));
  }
  return lines;
}

int ReadmePageLines(int clientHeight) {
  int bottom = clientHeight - kReadmeFrameInset;
  return bottom > kReadmeTextTop ? (bottom - kReadmeTextTop) / kReadmeLinePitch : 0;
}

int ScrollReadme(int firstLine, int lineCount, int pageLines, int delta) {
  if (delta == 120 && firstLine > 0) return firstLine - 1;
  if (delta == -120 && firstLine < lineCount - pageLines) return firstLine + 1;
  return firstLine;
}
