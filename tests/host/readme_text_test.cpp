// The readme's encoding mark, its display lines and the wheel's bounds.
#include <gtest/gtest.h>

#include "sim_test.h"
#include "ui/readme_text.h"

namespace {

TEST(ReadmeText, LongLinesBreakEvery30CharactersAndEmptyLinesStay) {
  std::wstring text = std::wstring(30, L'a') + L"\r\n" + std::wstring(31, L'b') + L"\n\n" + std::wstring(65, L'c');
  auto lines = SplitReadmeDisplayLines(text);
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[0], std::wstring(30, L'a'));  // CR LF ends a line, the CR is not kept
  EXPECT_EQ(lines[1].size(), 30u);
  EXPECT_EQ(lines[2], L"b");
  EXPECT_EQ(lines[3], L"");
  EXPECT_EQ(lines[4].size(), 30u);
  EXPECT_EQ(lines[5].size(), 30u);
  EXPECT_EQ(lines[6], L"ccccc");
}

TEST(ReadmeText, KeepsNoMoreThan256DisplayLines) {
  EXPECT_EQ(SplitReadmeDisplayLines(std::wstring(300 * 30, L'x')).size(), kReadmeMaxLines);
  std::wstring many;
  for (int i = 0; i < 400; ++i) many += L"line\n";
  EXPECT_EQ(SplitReadmeDisplayLines(many).size(), kReadmeMaxLines);
}

TEST(ReadmeText, ByteOrderMarksDecideTheEncodingElseGbk) {
  EXPECT_EQ(DetectReadmeEncoding("\xEF\xBB\xBFtext").encoding, ReadmeEncoding::Utf8);
  EXPECT_EQ(DetectReadmeEncoding("\xEF\xBB\xBFtext").markLength, 3u);
  EXPECT_EQ(DetectReadmeEncoding("\xFF\xFEt\0").encoding, ReadmeEncoding::Utf16Le);
  EXPECT_EQ(DetectReadmeEncoding("\xFE\xFF\0t").encoding, ReadmeEncoding::Utf16Be);
  EXPECT_EQ(DetectReadmeEncoding("\xC4\xFA\xBA\xC3").encoding, ReadmeEncoding::Gbk);
  EXPECT_EQ(DetectReadmeEncoding("").markLength, 0u);
}

TEST(ReadmeText, TheWheelScrollsByExactStepsUntilTheLastLineIsInView) {
  int page = ReadmePageLines(478);  // the 480-pixel dialog less its border
  EXPECT_EQ(page, 18);
  int first = 0;
  for (int i = 0; i < 40; ++i) first = ScrollReadme(first, 40, page, -120);
  EXPECT_EQ(first, 22);  // lines 22 to 39 on the last page
  EXPECT_EQ(ScrollReadme(10, 40, page, -240), 10);
  EXPECT_EQ(ScrollReadme(10, 40, page, 60), 10);
  for (int i = 0; i < 40; ++i) first = ScrollReadme(first, 40, page, 120);
  EXPECT_EQ(first, 0);
  EXPECT_EQ(ScrollReadme(0, 18, page, -120), 0);  // one page does not scroll
}

// At every scale the page holds the same 18 lines, each starting at its
// 96-DPI point scaled, the last one ending inside the inner frame.
TEST(ReadmeText, ThePageScalesWithTheDpi) {
  for (int dpi : {96, 120, 137, 144, 168, 192, 288}) {
    const int client = ScaleToDpi(478, dpi);
    const int page = ReadmePageLines(client, dpi);
    EXPECT_EQ(page, 18) << dpi;
    EXPECT_LE(ReadmeLineOrigin(page, dpi).y, client - ScaleToDpi(kReadmeFrameInset, dpi)) << dpi;
    EXPECT_GT(ReadmeLineOrigin(page + 1, dpi).y, client - ScaleToDpi(kReadmeFrameInset, dpi)) << dpi;
  }
  EXPECT_EQ(ReadmeLineOrigin(0, 96).x, 48);
  EXPECT_EQ(ReadmeLineOrigin(3, 96).y, 44 + 66);
  EXPECT_EQ(ReadmeLineOrigin(3, 192).y, 2 * (44 + 66));
  EXPECT_EQ(ReadmeLineOrigin(1, 137).y, 94);  // 66 x 137 / 96 = 94.19, each line from its own point
  EXPECT_EQ(ReadmeLineOrigin(2, 137).y, 126);  // 88 x 137 / 96 = 125.58
}

const std::wstring kReadme = L"C:\\Setup\\USB驱动安装说明.txt";

class ReadmeFileTest : public SimTest {
 protected:
  std::vector<std::wstring> Load(const std::string& bytes) {
    M().fs.AddFile(kReadme, bytes);
    std::vector<std::wstring> lines{L"stale"};
    EXPECT_TRUE(LoadReadmeLines(kReadme, lines));
    return lines;
  }
};

// 10,000 lines: one read of the file's start, the first 256 display lines.
TEST_F(ReadmeFileTest, TenThousandLinesAreReadOnlyAsFarAsTheyAreShown) {
  std::string text;
  for (int i = 0; i < 10000; ++i) text += "line " + std::to_string(i) + "\r\n";
  auto lines = Load(text);
  ASSERT_EQ(lines.size(), kReadmeMaxLines);
  EXPECT_EQ(lines.back(), L"line 255");
  EXPECT_EQ(M().transcript.Count("ReadFile"), 1u);
}

// The widest text the limit must hold: 256 lines of 30 three-byte characters.
TEST_F(ReadmeFileTest, TheByteLimitHoldsEveryShownLineOfTheWidestText) {
  std::string line;
  for (int i = 0; i < 30; ++i) line += "\xE4\xBD\xA0";
  std::string text = "\xEF\xBB\xBF";
  for (int i = 0; i < 300; ++i) text += line + "\r\n";
  auto lines = Load(text);
  ASSERT_EQ(lines.size(), kReadmeMaxLines);
  EXPECT_EQ(lines.back(), std::wstring(30, L'你'));
}

TEST_F(ReadmeFileTest, ByteOrderMarksAreNotShownAndTheirTextIsDecoded) {
  EXPECT_EQ(Load("\xEF\xBB\xBF\xE4\xBD\xA0\xE5\xA5\xBD\r\nA"), (std::vector<std::wstring>{L"你好", L"A"}));
  EXPECT_EQ(Load("\xC4\xE3\xBA\xC3\r\n"), std::vector<std::wstring>{L"你好"});
  EXPECT_EQ(Load(std::string("\xFF\xFE\x60\x4F\x7D\x59", 6)), std::vector<std::wstring>{L"你好"});
  EXPECT_EQ(Load("\xEF\xBB\xBF"), std::vector<std::wstring>{});
  std::vector<std::wstring> lines;
  EXPECT_FALSE(LoadReadmeLines(L"C:\\Setup\\none.txt", lines));
}

}  // namespace
