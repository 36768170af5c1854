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

// Every point of the 96-DPI layout is scaled once; the pieces stay as they are.
TEST(ErrorLayout, ThePointsScaleWithTheDpiAndThePiecesStay) {
  const std::wstring fifty = Repeat(50);
  const ErrorLayout at96 = LayOutErrorPage(fifty);
  for (int dpi : {96, 120, 137, 144, 168, 192}) {
    ErrorLayout scaled = LayOutErrorPage(fifty, dpi);
    ASSERT_EQ(scaled.runs.size(), at96.runs.size());
    for (std::size_t i = 0; i < scaled.runs.size(); ++i) {
      EXPECT_EQ(scaled.runs[i].text, at96.runs[i].text);
      EXPECT_EQ(scaled.runs[i].x, ScaleToDpi(at96.runs[i].x, dpi));
      EXPECT_EQ(scaled.runs[i].y, ScaleToDpi(at96.runs[i].y, dpi));
    }
    EXPECT_EQ(scaled.buttonY, ScaleToDpi(241, dpi));
  }
  ErrorLayout doubled = LayOutErrorPage(L"2", 192);
  EXPECT_EQ(doubled.runs[0].x, 100);
  EXPECT_EQ(doubled.runs[0].y, 236);
  EXPECT_EQ(doubled.runs[1].y, 298);
  EXPECT_EQ(doubled.runs[2].y, 338);
  EXPECT_EQ(doubled.buttonY, 410);
  ErrorLayout odd = LayOutErrorPage(L"2", 137);
  EXPECT_EQ(odd.runs[1].y, 213);  // 149 x 137 / 96 = 212.6
  EXPECT_EQ(odd.runs[2].y, 241);  // 169 x 137 / 96 = 241.2
}

}  // namespace
