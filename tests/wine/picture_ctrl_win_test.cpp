// Pictures and bitmap buttons really drawn: the logo's soft edges over many
// repaints, a bitmap scaled to its control, hover pictures and plain faces.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <set>

#include "res/resource.h"
#include "ui/my_button.h"
#include "ui/picture_ctrl.h"
#include "ui_capture.h"

namespace {

constexpr COLORREF kGround = RGB(230, 230, 230);

// The colour of pixel (x, y) of bitmap resource `id`.
COLORREF BitmapPixel(int id, int x, int y) {
  HBITMAP bitmap = LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id));
  HDC memory = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(memory, bitmap);
  COLORREF c = GetPixel(memory, x, y);
  SelectObject(memory, old);
  DeleteDC(memory);
  DeleteObject(bitmap);
  return c;
}

TEST(PictureCtrlWin, LogoKeepsItsSoftEdgesOverRepeatedRepaints) {
  ui_test::Ground ground(kGround);
  HWND logo = ground.Child(L"STATIC", 0, 1030, 20, 6, 287, 75);
  CPictureCtrl picture;
  picture.Attach(logo);
  ground.Reflect(picture);
  ASSERT_TRUE(picture.LoadFromResource(IDB_LOGO, L"PNG"));
  ground.Settle();
  ui_test::Capture first(logo);
  for (int i = 0; i < 10; ++i) RedrawWindow(logo, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  ui_test::Capture later(logo);
  EXPECT_TRUE(first == later);
  std::set<COLORREF> colours;  // blended edges give many shades between ground and brand
  for (int y = 0; y < 75; ++y)
    for (int x = 0; x < 287; ++x) colours.insert(first.At(x, y));
  EXPECT_GT(colours.size(), 50u);
  EXPECT_EQ(first.At(0, 0), kGround);  // fully transparent corner
  wchar_t text[32] = {};
  GetWindowTextW(logo, text, 32);
  EXPECT_STREQ(text, L"Quillex");
}

TEST(PictureCtrlWin, PremultiplyingRoundsDown) {
  BYTE pixels[] = {200, 100, 50, 128, 9, 9, 9, 0, 7, 8, 9, 255};
  PremultiplyAlpha(pixels, 3);
  BYTE expected[] = {100, 50, 25, 128, 0, 0, 0, 0, 7, 8, 9, 255};
  EXPECT_EQ(0, memcmp(pixels, expected, sizeof pixels));
}

TEST(PictureCtrlWin, BitmapIsScaledToItsControlAndNoImageDrawsNothing) {
  ui_test::Ground ground(kGround);
  HWND cross = ground.Child(L"STATIC", 0, 1020, 10, 10, 40, 34);
  HWND empty = ground.Child(L"STATIC", 0, 1021, 60, 10, 40, 34);
  CPictureCtrl picture, nothing;
  picture.Attach(cross);
  nothing.Attach(empty);
  ground.Reflect(picture);
  EXPECT_TRUE(picture.LoadBitmapResource(GetModuleHandleW(nullptr), IDB_CLOSE_CROSS, L""));
  ground.Settle();
  ui_test::Capture pixels(ground.window);
  EXPECT_EQ(pixels.At(10, 10), RGB(255, 255, 255));          // the bitmap's white corner
  EXPECT_LT(GetRValue(pixels.At(10 + 19, 10 + 16)), 128);     // the cross's centre, doubled
  EXPECT_EQ(pixels.At(60 + 20, 10 + 17), kGround);           // nothing loaded, nothing drawn
}

class ButtonWin : public ::testing::Test {
 protected:
  void SetUp() override {
    window = ground.Child(L"BUTTON", BS_OWNERDRAW, 1007, 132, 100, 105, 28);
    button.Attach(window);
    ground.Reflect(button);
  }
  COLORREF Middle() {
    ground.Settle();
    return ui_test::Capture(window).At(52, 14);
  }

  ui_test::Ground ground{kGround};
  HWND window = nullptr;
  CMyButton button;
};

TEST_F(ButtonWin, HoverSwapsThePictureAndLeavingSwapsItBack) {
  button.m_strText = L"上一步";
  button.m_nBitmapId = IDB_BACK;
  EXPECT_EQ(Middle(), BitmapPixel(IDB_BACK, 52, 14));
  SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(button.m_nBitmapId, IDB_BACK_HOVER);
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
  EXPECT_EQ(Middle(), BitmapPixel(IDB_BACK_HOVER, 52, 14));
  SendMessageW(window, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(button.m_nBitmapId, IDB_BACK);
  EXPECT_EQ(Middle(), BitmapPixel(IDB_BACK, 52, 14));
  wchar_t text[16] = {};
  GetWindowTextW(window, text, 16);
  EXPECT_STREQ(text, L"上一步");  // readable by screen readers, never drawn
}

TEST_F(ButtonWin, OtherCaptionsKeepTheirPictureAndNoBitmapGivesAPlainFace) {
  button.m_strText = L"其他";
  button.m_nBitmapId = IDB_NEXT;
  SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(button.m_nBitmapId, IDB_NEXT);
  button.m_nBitmapId = 0;
  ground.Settle();
  ui_test::Capture face(window);
  EXPECT_EQ(face.At(0, 0), RGB(128, 128, 128));
  EXPECT_EQ(face.At(3, 3), RGB(255, 255, 255));
  EXPECT_TRUE(face.AnyOtherThan({30, 5, 75, 23}, RGB(255, 255, 255)));  // the caption
  button.m_nBitmapId = 9999;  // a missing bitmap: the same plain face
  ground.Settle();
  EXPECT_TRUE(ui_test::Capture(window) == face);
}

}  // namespace
