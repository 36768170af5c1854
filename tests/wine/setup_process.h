// Drives a running QuillexSetup.exe from outside, as a user would: finds its
// windows among the top-level windows of its process and sends them the
// messages that clicks, list choices and keys produce.
#pragma once
#include <windows.h>

#include <filesystem>
#include <functional>
#include <string>

namespace wine {

// A path of the build machine as the prefix sees it (Z: is the Unix root).
std::filesystem::path InPrefix(const std::filesystem::path& unixPath);
// dist/ of the build, as the prefix sees it.
std::filesystem::path DistFolder();

// Waits, polling, until `ready` holds; false after `timeoutMs`.
bool WaitUntil(const std::function<bool()>& ready, DWORD timeoutMs = 30000);

// One run of the installer (or `exe`) from `folder`, ended by force if the
// caller leaves early.
class SetupProcess {
 public:
  explicit SetupProcess(const std::wstring& folder, const std::wstring& exe = L"QuillexSetup.exe");
  ~SetupProcess();
  SetupProcess(const SetupProcess&) = delete;
  SetupProcess& operator=(const SetupProcess&) = delete;

  bool Started() const { return m_process != nullptr; }
  // The first visible top-level window of the process that `match` accepts.
  HWND WaitForWindow(const std::function<bool(HWND)>& match, DWORD timeoutMs = 30000) const;
  HWND FindWindowOf(const std::function<bool(HWND)>& match) const;
  bool WaitForExit(DWORD timeoutMs = 60000) const;

 private:
  HANDLE m_process = nullptr;
  DWORD m_processId = 0;
};

// Runs the console program `exe` of `folder` with `arguments` (one string, as
// typed) to its end; its exit code, with what it printed in `output`.
DWORD RunConsoleProgram(const std::wstring& folder, const std::wstring& exe, const std::wstring& arguments,
                        std::wstring& output);

// Window matchers and actions.
std::wstring WindowText(HWND window);
bool HasChild(HWND window, int id);
bool ChildVisible(HWND window, int id);
// A message box of the process with this caption (its text in `text`, if given).
std::function<bool(HWND)> MessageBoxCaptioned(const std::wstring& caption, std::wstring* text = nullptr);
std::function<bool(HWND)> DialogWithChild(int id);

// A click on a control (a button, or a picture that notifies): the mouse
// messages posted, so a modal box the click opens does not block the test.
void Click(HWND dialog, int id);
// Selects the list row whose text is `row`; false when there is none.
bool SelectRow(HWND dialog, int listId, const std::wstring& row);
int RowCount(HWND dialog, int listId);
std::wstring RowText(HWND dialog, int listId, int index);
// A key as the keyboard delivers it to the focused window of `dialog`.
void PostKey(HWND dialog, UINT virtualKey, bool alt);

}  // namespace wine
