#include "setup_process.h"

#include <cwchar>
#include <vector>

namespace wine {

std::filesystem::path InPrefix(const std::filesystem::path& unixPath) {
  std::wstring path = L"Z:" + unixPath.wstring();
  for (wchar_t& c : path)
    if (c == L'/') c = L'\\';
  return path;
}

std::filesystem::path DistFolder() { return InPrefix(QX_DIST_DIR); }

// Under qemu-user the shipped wizard runs several times slower: its suite
// sets QX_WAIT_SCALE, and every wait grows by that factor.
static DWORD Scaled(DWORD timeoutMs) {
  wchar_t scale[8] = {};
  const DWORD length = GetEnvironmentVariableW(L"QX_WAIT_SCALE", scale, 8);
  const int factor = length > 0 && length < 8 ? static_cast<int>(std::wcstol(scale, nullptr, 10)) : 1;
  return factor > 1 ? timeoutMs * factor : timeoutMs;
}

bool WaitUntil(const std::function<bool()>& ready, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  timeoutMs = Scaled(timeoutMs);
  while (!ready()) {
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(50);
  }
  return true;
}

SetupProcess::SetupProcess(const std::wstring& folder, const std::wstring& exe) {
  std::wstring command = L"\"" + folder + L"\\" + exe + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup, &info))
    return;
  CloseHandle(info.hThread);
  m_process = info.hProcess;
  m_processId = info.dwProcessId;
}

SetupProcess::~SetupProcess() {
  if (!m_process) return;
  if (WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT) {
    TerminateProcess(m_process, 1);
    WaitForSingleObject(m_process, 10000);
  }
  CloseHandle(m_process);
}

DWORD RunConsoleProgram(const std::wstring& folder, const std::wstring& exe, const std::wstring& arguments,
                        std::wstring& output) {
  SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
  HANDLE read = nullptr, write = nullptr;
  if (!CreatePipe(&read, &write, &inheritable, 0)) return ~0u;
  SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = startup.hStdError = write;
  std::wstring command = L"\"" + folder + L"\\" + exe + L"\" " + arguments;
  PROCESS_INFORMATION info{};
  const BOOL started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                      folder.c_str(), &startup, &info);
  CloseHandle(write);
  std::string bytes;
  char chunk[4096];
  DWORD got = 0;
  while (started && ReadFile(read, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
  CloseHandle(read);
  if (!started) return ~0u;
  WaitForSingleObject(info.hProcess, INFINITE);
  DWORD code = ~0u;
  GetExitCodeProcess(info.hProcess, &code);
  CloseHandle(info.hProcess);
  CloseHandle(info.hThread);
  output.assign(bytes.size(), L'\0');
  output.resize(MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), output.data(),
                                    static_cast<int>(output.size())));
  return code;
}

namespace {

struct WindowSearch {
  DWORD processId;
  const std::function<bool(HWND)>* match;
  HWND found;
};

BOOL CALLBACK VisitTopLevelWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || !IsWindowVisible(window) || !(*search->match)(window)) return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

HWND SetupProcess::FindWindowOf(const std::function<bool(HWND)>& match) const {
  WindowSearch search{m_processId, &match, nullptr};
  EnumWindows(VisitTopLevelWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND SetupProcess::WaitForWindow(const std::function<bool(HWND)>& match, DWORD timeoutMs) const {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindWindowOf(match)) != nullptr; }, timeoutMs);
  return found;
}

bool SetupProcess::WaitForExit(DWORD timeoutMs) const {
  return m_process && WaitForSingleObject(m_process, Scaled(timeoutMs)) == WAIT_OBJECT_0;
}

std::wstring WindowText(HWND window) {
  wchar_t text[512] = {};
  GetWindowTextW(window, text, 512);
  return text;
}

bool HasChild(HWND window, int id) { return GetDlgItem(window, id) != nullptr; }

bool ChildVisible(HWND window, int id) {
  HWND child = GetDlgItem(window, id);
  return child && IsWindowVisible(child);
}

std::function<bool(HWND)> MessageBoxCaptioned(const std::wstring& caption, std::wstring* text) {
  return [caption, text](HWND window) {
    wchar_t className[32] = {};
    GetClassNameW(window, className, 32);
    if (std::wstring(className) != L"#32770" || WindowText(window) != caption) return false;
    if (text) *text = WindowText(GetDlgItem(window, 0xFFFF));  // the box's message
    return true;
  };
}

std::function<bool(HWND)> DialogWithChild(int id) {
  return [id](HWND window) { return HasChild(window, id); };
}

void Click(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  RECT client{};
  GetClientRect(control, &client);
  const LPARAM centre = MAKELPARAM(client.right / 2, client.bottom / 2);
  PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, centre);
  PostMessageW(control, WM_LBUTTONUP, 0, centre);
}

int RowCount(HWND dialog, int listId) {
  return static_cast<int>(SendMessageW(GetDlgItem(dialog, listId), LB_GETCOUNT, 0, 0));
}

std::wstring RowText(HWND dialog, int listId, int index) {
  HWND list = GetDlgItem(dialog, listId);
  LRESULT length = SendMessageW(list, LB_GETTEXTLEN, index, 0);
  if (length == LB_ERR) return L"";
  std::vector<wchar_t> text(static_cast<size_t>(length) + 1, L'\0');
  SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  return text.data();
}

bool SelectRow(HWND dialog, int listId, const std::wstring& row) {
  for (int i = 0, n = RowCount(dialog, listId); i < n; ++i) {
    if (RowText(dialog, listId, i) != row) continue;
    SendMessageW(GetDlgItem(dialog, listId), LB_SETCURSEL, i, 0);
    return true;
  }
  return false;
}

void PostKey(HWND dialog, UINT virtualKey, bool alt) {
  HWND target = dialog;
  DWORD threadId = GetWindowThreadProcessId(dialog, nullptr);
  GUITHREADINFO gui{};
  gui.cbSize = sizeof gui;
  if (GetGUIThreadInfo(threadId, &gui) && gui.hwndFocus) target = gui.hwndFocus;
  const LPARAM context = alt ? (1 << 29) : 0;  // the Alt key held
  PostMessageW(target, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, virtualKey, 1 | context);
  PostMessageW(target, alt ? WM_SYSKEYUP : WM_KEYUP, virtualKey, 1 | context | (3u << 30));
}

}  // namespace wine
