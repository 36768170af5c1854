#include <windows.h>

#include "platform/threads.h"

namespace plat {

namespace {

struct ThreadStart {
  ThreadProc procedure;
  void* parameter;
};

DWORD WINAPI RunThread(LPVOID start) {
  ThreadStart s = *static_cast<ThreadStart*>(start);
  delete static_cast<ThreadStart*>(start);
  return s.procedure(s.parameter);
}

}  // namespace

bool CreateThread(ThreadProc procedure, void* parameter) {
  auto* start = new ThreadStart{procedure, parameter};
  HANDLE thread = ::CreateThread(nullptr, 0, RunThread, start, 0, nullptr);
  if (!thread) {
    DWORD error = ::GetLastError();
    delete start;
    ::SetLastError(error);
    return false;
  }
  ::CloseHandle(thread);
  return true;
}

}  // namespace plat
