// The error box's texts and button: pieces of 21 characters and their lines.
#include <gtest/gtest.h>

#include "ui/error_layout.h"

namespace {

std::wstring Repeat(std::size_t n) {
  std::wstring text;
  for (std::size_t i = 0; i < n; ++i) text += static_cast<wchar_t>(L'a' + i % 26);
  return text;
}

TEST(ErrorLayout, AShortCodeStandsAfterItsLabelAndTheButtonStays) {
  ErrorLayout layout = LayOutErrorPage(L"2");
  ASSERT_EQ(layout.runs.size(), 3u);
  EXPECT_EQ(layout.runs[0].text, L"错误代码：2");
  EXPECT_EQ(layout.runs[0].x, 50);
  EXPECT_EQ(layout.runs[0].y, 118);
  EXPECT_EQ(layout.runs[1].y, 149);
  EXPECT_EQ(layout.runs[2].y, 169);
  EXPECT_EQ(layout.buttonY, 205);
  EXPECT_EQ(LayOutErrorPage(Repeat(21)).buttonY, 205);
}

TEST(ErrorLayout, LongMessagesContinueInPiecesAndPushTheButtonDown) {
  std::wstring fifty = Repeat(50);
  ErrorLayout layout = LayOutErrorPage(fifty);
  ASSERT_EQ(layout.runs.size(), 5u);
  EXPECT_EQ(layout.runs[0].text, L"错误代码：" + fifty.substr(0, 21));
  EXPECT_EQ(layout.runs[1].text, fifty.substr(21, 21));
  EXPECT_EQ(layout.runs[1].x, 115);
  EXPECT_EQ(layout.runs[1].y, 139);
  EXPECT_EQ(layout.runs[2].text, fifty.substr(42));
  EXPECT_EQ(layout.runs[2].x, 110);
  EXPECT_EQ(layout.runs[2].y, 160);
  EXPECT_EQ(layout.runs[3].y, 191);
  EXPECT_EQ(layout.runs[4].y, 211);
  EXPECT_EQ(layout.buttonY, 241);

  ErrorLayout exact = LayOutErrorPage(Repeat(42));  // no partial piece
  ASSERT_EQ(exact.runs.size(), 4u);
  EXPECT_EQ(exact.runs[1].y, 139);
  EXPECT_EQ(exact.runs[2].y, 170);
  EXPECT_EQ(exact.runs[3].y, 190);
}

}  // namespace
