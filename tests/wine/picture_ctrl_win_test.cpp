// Pictures and bitmap buttons really drawn: the logo's soft edges over many
// repaints, a bitmap scaled to its control, hover pictures and plain faces.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <set>

#include "res/resource.h"
#include "ui/gdi.h"
#include "ui/my_button.h"
#include "ui/picture_ctrl.h"
#include "ui/skin_drawings.h"
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

// Drawing `id` at `dpi`, as the resources hold it, drawn at its own size
// on `ground` in memory.
class DrawingPixels {
 public:
  DrawingPixels(int id, int dpi, COLORREF ground) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), SkinDrawingType(dpi).c_str());
    const char* bytes = found ? static_cast<const char*>(LockResource(LoadResource(module, found))) : nullptr;
    CImage image;
    EXPECT_TRUE(bytes && image.Load(std::string_view(bytes, SizeofResource(module, found))));
    m_width = image.Width();
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), m_width, -image.Height(), 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    m_bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    m_old = SelectObject(m_dc, m_bitmap);
    ui::FillSolid(m_dc, {0, 0, m_width, image.Height()}, ground);
    image.Draw(m_dc, {0, 0, m_width, image.Height()});
  }
  ~DrawingPixels() {
    SelectObject(m_dc, m_old);
    DeleteObject(m_bitmap);
    DeleteDC(m_dc);
  }
  int Width() const { return m_width; }
  COLORREF At(int x, int y) const { return GetPixel(m_dc, x, y); }

 private:
  HDC m_dc = CreateCompatibleDC(nullptr);
  HBITMAP m_bitmap = nullptr;
  HGDIOBJ m_old = nullptr;
  int m_width = 0;
};

// A control larger than its bitmap shows the drawing of that scale, pixel
// for pixel where the sizes match, and a drawing scaled down between scales.
TEST(PictureCtrlWin, LargerControlsShowTheDrawingOfTheirScale) {
  ui_test::Ground ground(kGround, 700, 260);
  HWND logo = ground.Child(L"STATIC", 0, 1030, 0, 0, 574, 150);
  HWND between = ground.Child(L"STATIC", 0, 1004, 0, 160, 163, 46);  // 130 x 37 at 120 DPI
  CPictureCtrl picture, heading;
  picture.Attach(logo);
  heading.Attach(between);
  ground.Reflect(picture);
  ASSERT_TRUE(picture.LoadFromResource(IDB_LOGO, L"PNG"));
  ground.Settle();
  ui_test::Capture drawn(logo);
  drawn.SaveIfAsked("logo-192");
  DrawingPixels expected(IDB_LOGO, 192, kGround);
  ASSERT_EQ(expected.Width(), 574);
  int same = 0;
  for (int y = 0; y < 150; ++y)
    for (int x = 0; x < 574; ++x) same += drawn.At(x, y) == expected.At(x, y);
  EXPECT_EQ(same, 574 * 150);
  for (int i = 0; i < 5; ++i) RedrawWindow(logo, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_TRUE(ui_test::Capture(logo) == drawn);

  ground.Reflect(heading);
  heading.LoadBitmapResource(GetModuleHandleW(nullptr), IDB_MODEL_HEADING, L"");
  ground.Settle();
  ui_test::Capture scaled(between);
  scaled.SaveIfAsked("heading-120");
  std::set<COLORREF> colours;  // anti-aliased text, not a stretched copy's blocks of a few colours
  for (int y = 0; y < 46; ++y)
    for (int x = 0; x < 163; ++x) colours.insert(scaled.At(x, y));
  EXPECT_GT(colours.size(), 8u);
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

// A button twice its bitmap's size draws the 2x drawing, hover form too,
// inside a grey edge twice as thick.
TEST_F(ButtonWin, AButtonAtTwiceItsSizeDrawsTheDoubleDrawing) {
  MoveWindow(window, 10, 10, 210, 56, TRUE);
  button.m_strText = L"上一步";
  button.m_nBitmapId = IDB_BACK;
  ground.Settle();
  ui_test::Capture normal(window);
  DrawingPixels drawing(IDB_BACK, 192, kGround);
  EXPECT_EQ(normal.At(1, 1), RGB(128, 128, 128));
  EXPECT_EQ(normal.At(105, 28), drawing.At(105, 28));
  EXPECT_EQ(normal.At(60, 30), drawing.At(60, 30));
  SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  ground.Settle();
  EXPECT_EQ(ui_test::Capture(window).At(105, 28), DrawingPixels(IDB_BACK_HOVER, 192, kGround).At(105, 28));
  EXPECT_EQ(ui_test::Capture(window).At(1, 1), RGB(128, 128, 128));
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
