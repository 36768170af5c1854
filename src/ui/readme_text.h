// The readme's text as the readme dialog (CDlgExplain) shows it: its
// encoding, its display lines of at most 30 characters, and scrolling.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ui/dpi_scale.h"

constexpr std::size_t kReadmeLineWidth = 30;
constexpr std::size_t kReadmeMaxLines = 256;  // display lines kept; the rest is dropped
// Bytes of the readme file read at most. The kept lines need no more: each
// takes at most 30 characters and a CR LF, each character at most 3 bytes
// (UTF-8), behind a mark of at most 3.
constexpr std::size_t kReadmeMaxBytes = 32 * 1024;
static_assert(kReadmeMaxBytes >= 3 + 3 * kReadmeMaxLines * (kReadmeLineWidth + 2));
constexpr int kReadmeTextLeft = 48;
constexpr int kReadmeTextTop = 44;
constexpr int kReadmeLinePitch = 22;
constexpr int kReadmeFrameInset = 25;  // the inner frame's distance from the client edges
constexpr int kReadmeFramePadding = 4;  // kept free inside the inner frame, right of the text

enum class ReadmeEncoding { Gbk, Utf8, Utf16Le, Utf16Be };

struct ReadmeEncodingMark {
  ReadmeEncoding encoding = ReadmeEncoding::Gbk;
  std::size_t markLength = 0;  // bytes of the byte-order mark to skip
};

// A UTF-8 or UTF-16 byte-order mark decides; without one the text is GBK.
ReadmeEncodingMark DetectReadmeEncoding(std::string_view bytes);

// The readme's bytes as text: UTF-8 or UTF-16 after their byte-order mark,
// else code page 936 (GBK), converted by the system.
std::wstring DecodeReadme(std::string_view bytes);

// The display lines of the readme file at `path`, from its first
// kReadmeMaxBytes bytes; false when the file cannot be opened.
bool LoadReadmeLines(const std::wstring& path, std::vector<std::wstring>& lines);

// Splits decoded text into display lines: lines end at LF (a CR before it is
// dropped, as text-mode reading does), each line of n characters gives n / 30
// lines of 30 and one of the n mod 30 left (an empty line stays one line).
// At most kReadmeMaxLines are kept.
std::vector<std::wstring> SplitReadmeDisplayLines(std::wstring_view text);

// How many whole lines fit between the first line's top and the inner frame
// of a page `clientHeight` pixels high at `dpi`.
int ReadmePageLines(int clientHeight, int dpi = kBaseDpi);

// Where display line `k` of the page starts at `dpi`.
UiPoint ReadmeLineOrigin(int k, int dpi);

// The first line drawn after a wheel turn of `delta`: one line per exact
// wheel step of 120, from 0 down to the first line of the last full page,
// so that the readme's last line can always be scrolled into view.
int ScrollReadme(int firstLine, int lineCount, int pageLines, int delta);
