#include "ui/readme_text.h"

#include "platform/codepage.h"
#include "platform/files.h"

namespace {

std::wstring Convert(uint32_t codePage, std::string_view bytes) {
  if (bytes.empty()) return {};
  int size = static_cast<int>(bytes.size());
  int units = plat::MultiByteToWideChar(codePage, bytes.data(), size, nullptr, 0);
  std::wstring text(units, L'\0');
  if (units > 0) plat::MultiByteToWideChar(codePage, bytes.data(), size, text.data(), units);
  return text;
}

std::wstring Utf16(std::string_view bytes, bool bigEndian) {
  std::wstring text(bytes.size() / 2, L'\0');
  for (size_t i = 0; i < text.size(); ++i) {
    auto first = static_cast<unsigned char>(bytes[2 * i]), second = static_cast<unsigned char>(bytes[2 * i + 1]);
    text[i] = static_cast<wchar_t>(bigEndian ? first << 8 | second : second << 8 | first);
  }
  return text;
}

}  // namespace

ReadmeEncodingMark DetectReadmeEncoding(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) return {ReadmeEncoding::Utf8, 3};
  if (bytes.starts_with("\xFF\xFE")) return {ReadmeEncoding::Utf16Le, 2};
  if (bytes.starts_with("\xFE\xFF")) return {ReadmeEncoding::Utf16Be, 2};
  return {};
}

std::wstring DecodeReadme(std::string_view bytes) {
  ReadmeEncodingMark mark = DetectReadmeEncoding(bytes);
  std::string_view body = bytes.substr(mark.markLength);
  switch (mark.encoding) {
    case ReadmeEncoding::Utf8: return Convert(plat::kCpUtf8, body);
    case ReadmeEncoding::Utf16Le: return Utf16(body, false);
    case ReadmeEncoding::Utf16Be: return Utf16(body, true);
    case ReadmeEncoding::Gbk: break;
  }
  return Convert(plat::kCpGbk, body);
}

bool LoadReadmeLines(const std::wstring& path, std::vector<std::wstring>& lines) {
  plat::FileHandle file(
      plat::CreateFileW(path, plat::kGenericRead, plat::kFileShareRead | plat::kFileShareWrite, plat::kOpenExisting));
  if (!file) return false;
  std::string bytes(kReadmeMaxBytes, '\0');
  uint32_t read = 0;
  if (!plat::ReadFile(file.get(), bytes.data(), static_cast<uint32_t>(bytes.size()), read)) read = 0;
  bytes.resize(read);
  lines = SplitReadmeDisplayLines(DecodeReadme(bytes));
  return true;
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

UiPoint ReadmeLineOrigin(int k, int dpi) {
  return ScaleToDpi(UiPoint{kReadmeTextLeft, kReadmeTextTop + kReadmeLinePitch * k}, dpi);
}

int ReadmePageLines(int clientHeight, int dpi) {
  int bottom = clientHeight - ScaleToDpi(kReadmeFrameInset, dpi);
  int lines = 0;
  while (ReadmeLineOrigin(lines + 1, dpi).y <= bottom) ++lines;  // line `lines` ends where the next begins
  return lines;
}

int ScrollReadme(int firstLine, int lineCount, int pageLines, int delta) {
  if (delta == 120 && firstLine > 0) return firstLine - 1;
  if (delta == -120 && firstLine < lineCount - pageLines) return firstLine + 1;
  return firstLine;
}
