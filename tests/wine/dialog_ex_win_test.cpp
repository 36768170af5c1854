// The dialog layer against Wine's real window manager: the modal run, its
// ends, the message pre-filter and the owner-draw reflection.
#include <gtest/gtest.h>
#include <windows.h>

#include <thread>

#include "ui/dialog_ex.h"

namespace {

constexpr UINT kTestDialog = 900;
constexpr UINT kEndFromThread = WM_APP + 1;

class RecordingControl : public CControl {
 public:
  int draws = 0;
  void DrawItem(const DRAWITEMSTRUCT&) override { ++draws; }
};

class TestDialog : public CDialogEx {
 public:
  TestDialog() : CDialogEx(kTestDialog) {}
  bool endDuringInit = false;
  bool consumeEscape = false;
  bool sawEscapeFirst = false;
  bool wasVisible = false;
  HWND owner = nullptr;
  bool ownerEnabledDuringRun = true;
  RecordingControl drawn;
  std::thread sender;

 protected:
  void DoDataExchange() override { Bind(1001, drawn); }
  BOOL OnInitDialog() override {
    if (endDuringInit) EndDialog(7);
    return TRUE;
  }
  bool PreTranslateMessage(MSG& msg) override {
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
      sawEscapeFirst = true;
      return consumeEscape;
    }
    return false;
  }
  bool OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) override {
    if (message != kEndFromThread) return false;
    wasVisible = ::IsWindowVisible(m_hWnd);
    if (owner) ownerEnabledDuringRun = ::IsWindowEnabled(owner);
    EndDialog(static_cast<INT_PTR>(wParam));
    result = 0;
    return true;
  }
};

// Sends `message` from another thread once the dialog exists, as the install
// worker sends its report to the wizard.
void SendFromThread(TestDialog& dialog, UINT message, WPARAM wParam) {
  dialog.sender = std::thread([&dialog, message, wParam] {
    HWND window = nullptr;
    for (int i = 0; i < 500 && !window; ++i, Sleep(10)) window = FindWindowW(L"#32770", nullptr);
    Sleep(200);  // time for the first paint
    if (window) SendMessageW(window, message, wParam, 0);
  });
}

TEST(DialogEx, EndDialogDuringInitEndsTheRunBeforeTheDialogIsShown) {
  TestDialog dialog;
  dialog.endDuringInit = true;
  EXPECT_EQ(dialog.DoModal(), 7);
  EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
}

TEST(DialogEx, EndDialogFromAMessageSentByAnotherThreadEndsTheRun) {
  HWND owner = CreateWindowW(L"STATIC", L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
  TestDialog dialog;
  dialog.owner = owner;
  SendFromThread(dialog, kEndFromThread, 5);
  EXPECT_EQ(dialog.DoModal(owner), 5);
  dialog.sender.join();
  EXPECT_TRUE(dialog.wasVisible);
  EXPECT_FALSE(dialog.ownerEnabledDuringRun);
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_GT(dialog.drawn.draws, 0);  // the owner-drawn button drew through its bound object
  DestroyWindow(owner);
}

TEST(DialogEx, PreFilterSeesKeysBeforeTheDialogAndCanConsumeThem) {
  for (bool consume : {true, false}) {
    TestDialog dialog;
    dialog.consumeEscape = consume;
    std::thread keys([] {
      HWND window = nullptr;
      for (int i = 0; i < 500 && !window; ++i, Sleep(10)) window = FindWindowW(L"#32770", nullptr);
      PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
      Sleep(200);
      if (IsWindow(window)) SendMessageW(window, kEndFromThread, 9, 0);
    });
    INT_PTR result = dialog.DoModal();
    keys.join();
    EXPECT_TRUE(dialog.sawEscapeFirst);
    EXPECT_EQ(result, consume ? 9 : IDCANCEL);  // unconsumed, Esc takes the dialog's usual way
  }
}

}  // namespace
