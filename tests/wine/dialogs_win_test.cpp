// The skinned dialogs run modally and read back by pixels: the error box's
// lines, the readme's frames and scrolling, the quit question's answers.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "report/error_report.h"
#include "res/resource.h"
#include "ui/about_dlg.h"
#include "ui/dlg_explain.h"
#include "ui/dlg_is_close.h"
#include "ui/dlg_mes_error.h"
#include "ui/error_layout.h"
#include "ui/page_layout.h"
#include "ui/skin.h"
#include "ui_capture.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);

void Click(HWND dialog, int id, int code = BN_CLICKED) {
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

int ClientTop(HWND control) {
  RECT r{};
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return r.top;
}

// Runs the error box for `message` on a worker thread, as the install worker
// does, and checks its texts line by line while it is shown.
void CheckErrorBox(const std::wstring& message, const char* screenshot) {
  ErrorLayout layout = LayOutErrorPage(message);
  int buttonTop = -1;
  std::thread worker([&message] {
    CDlgMesError box;
    box.m_strMessage = message;
    box.DoModal();
  });
  std::thread checker = ui_test::WhenShown(L"安装失败：" + message, [&](HWND box) {
    ui_test::Capture pixels(box);
    pixels.SaveIfAsked(screenshot);
    for (const ErrorTextRun& run : layout.runs) {
      EXPECT_TRUE(pixels.AnyOtherThan({run.x, run.y, run.x + 60, run.y + 12}, kWhite)) << run.y;
      EXPECT_FALSE(pixels.AnyOtherThan({run.x, run.y - 5, run.x + 60, run.y - 1}, kWhite)) << run.y;
    }
    buttonTop = ClientTop(GetDlgItem(box, IDC_MESERROR_OK));
    Click(box, IDC_MESERROR_OK);
  });
  checker.join();
  worker.join();
  EXPECT_EQ(buttonTop, layout.buttonY);
}

TEST(DialogsWin, ErrorBoxDrawsItsLinesFromTheWorkerThread) {
  CheckErrorBox(L"2", "error-box");
  CheckErrorBox(std::wstring(42, L'7'), "error-box-42");
  CheckErrorBox(std::wstring(50, L'5'), "error-box-50");
}

TEST(DialogsWin, ErrorBoxIsTheEnginesPresenter) {
  SetErrorPresenter(&PresentInstallError);
  bool shown = false;
  std::thread checker = ui_test::WhenShown(L"安装失败：3", [&](HWND box) {
    shown = true;
    Click(box, IDC_MESERROR_OK);
  });
  ShowErrorCode(3);
  checker.join();
  SetErrorPresenter(nullptr);
  EXPECT_TRUE(shown);
}

class ReadmeWin : public ::testing::Test {
 protected:
  void TearDown() override { std::filesystem::remove(Path()); }
  static std::filesystem::path Path() {
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    return std::filesystem::path(exe).parent_path() / L"USB驱动安装说明.txt";
  }
  static void Write(const std::string& bytes) {
    std::ofstream(Path(), std::ios::binary) << bytes;
  }
};

TEST_F(ReadmeWin, FramesTextAndTheWheelStopsAtTheLastPage) {
  std::string gbk;
  for (int i = 0; i < 40; ++i) gbk += "\xB5\xDA " + std::to_string(i) + " \xD0\xD0\r\n";  // "第 i 行"
  Write(gbk);
  CDlgExplain readme;
  INT_PTR result = 0;
  std::thread checker = ui_test::WhenShown(L"USB驱动安装说明", [](HWND dialog) {
    ui_test::Capture page(dialog);
    page.SaveIfAsked("readme");
    EXPECT_EQ(page.Width(), 478);  // 480 less the thin border
    EXPECT_EQ(page.At(25, 200), skin::kFrameColour);   // inner frame
    EXPECT_EQ(page.At(0, 200), skin::kFrameColour);    // outer frame
    EXPECT_TRUE(page.AnyOtherThan({48, 44, 200, 62}, kWhite));  // the first line
    auto wheel = [dialog](int delta, int times) {
      for (int i = 0; i < times; ++i) SendMessageW(dialog, WM_MOUSEWHEEL, MAKEWPARAM(0, delta), 0);
      return ui_test::Capture(dialog);
    };
    ui_test::Capture before = wheel(-120, 21);
    ui_test::Capture last = wheel(-120, 1);
    last.SaveIfAsked("readme-last-page");
    EXPECT_FALSE(before == last);
    EXPECT_TRUE(wheel(-120, 5) == last);  // 18 lines a page: line 22 is the last first line of 40
    EXPECT_TRUE(wheel(240, 1) == last);
    EXPECT_TRUE(wheel(60, 1) == last);
    EXPECT_TRUE(wheel(120, 40) == page);
    Click(dialog, IDC_EXPLAIN_CLOSE, STN_CLICKED);
  });
  result = readme.DoModal();
  checker.join();
  EXPECT_EQ(result, IDCANCEL);
}

TEST_F(ReadmeWin, WithoutAReadmeThePageIsEmptyButFramed) {
  CDlgExplain readme;
  std::thread checker = ui_test::WhenShown(L"USB驱动安装说明", [](HWND dialog) {
    ui_test::Capture page(dialog);
    EXPECT_EQ(page.At(25, 200), skin::kFrameColour);
    EXPECT_FALSE(page.AnyOtherThan({40, 40, 400, 400}, kWhite));
    PostMessageW(dialog, WM_KEYDOWN, VK_ESCAPE, 0);
  });
  EXPECT_EQ(readme.DoModal(), IDCANCEL);
  checker.join();
}

TEST(ReadmeDecodingWin, MarksChooseTheEncodingElseGbk) {
  EXPECT_EQ(DecodeReadme("\xC4\xE3\xBA\xC3"), L"你好");
  EXPECT_EQ(DecodeReadme("\xEF\xBB\xBF\xE4\xBD\xA0\xE5\xA5\xBD"), L"你好");
  EXPECT_EQ(DecodeReadme(std::string("\xFF\xFE\x60\x4F\x7D\x59", 6)), L"你好");
  EXPECT_EQ(DecodeReadme(std::string("\xFE\xFF\x4F\x60\x59\x7D", 6)), L"你好");
}

TEST(DialogsWin, QuitQuestionAnswersOkForYesAndCancelForNoAndEsc) {
  CDlgIsClose question;  // one object for every run, as the wizard keeps it
  std::wstring text;
  std::thread yes = ui_test::WhenShown(L"退出安装", [&text](HWND dialog) {
    ui_test::Capture(dialog, true).SaveIfAsked("quit-question");
    wchar_t buffer[32] = {};
    GetWindowTextW(GetDlgItem(dialog, IDC_ISCLOSE_QUESTION), buffer, 32);
    text = buffer;
    Click(dialog, IDC_ISCLOSE_YES);
  });
  EXPECT_EQ(question.DoModal(), IDOK);
  yes.join();
  EXPECT_EQ(text, L"是否要退出安装?");
  std::thread no = ui_test::WhenShown(L"退出安装", [](HWND dialog) { Click(dialog, IDC_ISCLOSE_NO); });
  EXPECT_EQ(question.DoModal(), IDCANCEL);
  no.join();
  std::thread esc = ui_test::WhenShown(L"退出安装", [](HWND dialog) { PostMessageW(dialog, WM_KEYDOWN, VK_ESCAPE, 0); });
  EXPECT_EQ(question.DoModal(), IDCANCEL);
  esc.join();
}

TEST(DialogsWin, AboutBoxEndsWithItsButton) {
  CAboutDlg about;
  std::thread ok = ui_test::WhenShown(L"关于 Quillex驱动安装程序", [](HWND dialog) {
    ui_test::Capture(dialog, true).SaveIfAsked("about");
    Click(dialog, IDOK);
  });
  EXPECT_EQ(about.DoModal(), IDOK);
  ok.join();
}

UiRect ChildRect(HWND dialog, int id) {
  RECT r{};
  GetWindowRect(GetDlgItem(dialog, id), &r);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

// A move to a screen of `dpi`: the window system's WM_DPICHANGED with the
// rectangle it suggests, the window's present one grown to the new scale.
RECT MoveToDpi(HWND dialog, int dpi, int oldDpi) {
  RECT r{};
  GetWindowRect(dialog, &r);
  RECT suggested{r.left, r.top, r.left + MulDivRounded(r.right - r.left, dpi, oldDpi),
                 r.top + MulDivRounded(r.bottom - r.top, dpi, oldDpi)};
  SendMessageW(dialog, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
  return suggested;
}

bool SameRect(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

// On a DPI change the dialogs take the suggested rectangle and lay their
// controls and texts out again at the new scale; back at 96 DPI every pixel
// is where it was.
TEST(DialogsWin, DpiChangesLayTheDialogsOutAgain) {
  CDlgIsClose question;
  std::thread quit = ui_test::WhenShown(L"退出安装", [](HWND dialog) {
    ui_test::Capture before(dialog);
    RECT suggested = MoveToDpi(dialog, 192, 96);
    RECT now{};
    GetWindowRect(dialog, &now);
    EXPECT_TRUE(SameRect(now, suggested));
    for (const ControlPlacement& p : QuitQuestionPlacements())
      EXPECT_EQ(ChildRect(dialog, p.id), ScaleToDpi(p.rect, 192)) << p.id;
    UpdateWindow(dialog);
    ui_test::Capture doubled(dialog);
    doubled.SaveIfAsked("quit-question-dpi-change-192");
    EXPECT_EQ(doubled.At(1, 100), skin::kFrameColour);  // the frame twice as wide: its inner half shows 2 pixels
    MoveToDpi(dialog, 96, 192);
    for (const ControlPlacement& p : QuitQuestionPlacements()) EXPECT_EQ(ChildRect(dialog, p.id), p.rect) << p.id;
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_TRUE(ui_test::Capture(dialog) == before);
    Click(dialog, IDC_ISCLOSE_NO);
  });
  EXPECT_EQ(question.DoModal(), IDCANCEL);
  quit.join();

  const std::wstring message(50, L'5');
  std::thread worker([&message] {
    CDlgMesError box;
    box.m_strMessage = message;
    box.DoModal();
  });
  std::thread checker = ui_test::WhenShown(L"安装失败：" + message, [&message](HWND box) {
    MoveToDpi(box, 144, 96);
    EXPECT_EQ(ChildRect(box, IDC_MESERROR_HEADING), ScaleToDpi(layout::kErrorHeading, 144));
    EXPECT_EQ(ChildRect(box, IDC_MESERROR_OK).y, LayOutErrorPage(message, 144).buttonY);
    UpdateWindow(box);
    ui_test::Capture pixels(box);
    pixels.SaveIfAsked("error-box-dpi-change-144");
    for (const ErrorTextRun& run : LayOutErrorPage(message, 144).runs) {
      EXPECT_TRUE(pixels.AnyOtherThan({run.x, run.y, run.x + 90, run.y + 18}, kWhite)) << run.y;
      EXPECT_FALSE(pixels.AnyOtherThan({run.x, run.y - 7, run.x + 90, run.y - 1}, kWhite)) << run.y;
    }
    Click(box, IDC_MESERROR_OK);
  });
  checker.join();
  worker.join();

  CDlgExplain readme;  // no readme file: its frames and close glyph
  std::thread page = ui_test::WhenShown(L"USB驱动安装说明", [](HWND dialog) {
    MoveToDpi(dialog, 192, 96);
    RECT client{};
    GetClientRect(dialog, &client);
    EXPECT_EQ(ChildRect(dialog, IDC_EXPLAIN_CLOSE), ReadmeClosePlacement(client.right, 192));
    UpdateWindow(dialog);
    ui_test::Capture doubled(dialog);
    EXPECT_EQ(doubled.At(50, 400), skin::kFrameColour);  // the inner frame, 25 pixels in at 96 DPI
    EXPECT_EQ(doubled.At(25, 400), kWhite);
    PostMessageW(dialog, WM_KEYDOWN, VK_ESCAPE, 0);
  });
  EXPECT_EQ(readme.DoModal(), IDCANCEL);
  page.join();
}

}  // namespace
