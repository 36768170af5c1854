// Stands in for a DLL that someone left beside a program under the name of a
// system DLL. Loading it leaves a mark: an empty file beside it named like
// the module as loaded, plus ".planted". It exports nothing, so a program
// that loaded it finds none of the entry points it looks for.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  wchar_t mark[MAX_PATH + 16] = {};
  DWORD length = GetModuleFileNameW(self, mark, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return TRUE;
  lstrcpyW(mark + length, L".planted");
  HANDLE file = CreateFileW(mark, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  return TRUE;
}
