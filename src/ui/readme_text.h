// The readme's text as the readme dialog (CDlgExplain) shows it: its
// encoding, its display lines of at most 30 characters, and scrolling.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

constexpr std::size_t kReadmeLineWidth = 30;
constexpr std::size_t kReadmeMaxLines = 256;  // display lines kept; the rest is dropped
constexpr int kReadmeLinesPerPage = 34;       // lines drawn per page
constexpr int kReadmeScrollMargin = 29;       // the last first line is count - 29

enum class ReadmeEncoding { Gbk, Utf8, Utf16Le, Utf16Be };

struct ReadmeEncodingMark {
  ReadmeEncoding encoding = ReadmeEncoding::Gbk;
  std::size_t markLength = 0;  // bytes of the byte-order mark to skip
};

// A UTF-8 or UTF-16 byte-order mark decides; without one the text is GBK.
ReadmeEncodingMark DetectReadmeEncoding(std::string_view bytes);

// Splits decoded text into display lines: lines end at LF (a CR before it is
// dropped, as text-mode reading does), each line of n characters gives n / 30
// lines of 30 and one of the n mod 30 left (an empty line stays one line).
// At most kReadmeMaxLines are kept.
std::vector<std::wstring> SplitReadmeDisplayLines(std::wstring_view text);

// The first line drawn after a wheel turn of `delta`: one line per exact
// wheel step of 120, within 0 and lineCount - 29.
int ScrollReadme(int firstLine, int lineCount, int delta);
