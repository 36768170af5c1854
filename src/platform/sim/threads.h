// Threads and windows of the simulated machine.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/handle.h"

namespace sim {

// The threads that CreateThread started, so that tests can wait for them.
struct Threads {
  std::vector<std::thread> running;
};

// Other programs: what CreateProcessW can start, and what it started. A
// program is a function of its command line that returns its exit code; it
// runs on a thread of its own, as the process's main thread.
struct Processes {
  using Program = std::function<uint32_t(const std::wstring& commandLine)>;
  std::map<std::wstring, Program> programs;  // by file-system key of the program's path
  struct Start {
    std::wstring application, commandLine;
    bool noWindow = false;
    int process = 0;  // its ProcessId()
  };
  std::vector<Start> started;
  struct Running {
    std::thread thread;
    uint32_t exitCode = 0;
    bool ended = false;
  };
  std::map<uintptr_t, std::shared_ptr<Running>> open;  // by process handle
  uint32_t currentProcessId = 4242;
  int lastProcess = 1;  // the test's own process is 1
  bool elevated = true;
};

// Named mutexes and events, met by name across the machine.
struct NamedObjects {
  struct Object {
    bool mutex = false;
    std::optional<std::thread::id> owner;  // a mutex's owning thread
    int ownerProcess = 0;                   // and its process
    bool abandoned = false;                 // its owner died holding it
    int recursion = 0;
    int handles = 0;
  };
  std::map<std::wstring, Object> byName;
  std::map<uintptr_t, std::wstring> open;  // handle -> name
  // Whether CreatePrivateNamespaceW works (Wine has none); the aliases of
  // the open namespaces by handle.
  bool privateNamespaces = true;
  std::map<uintptr_t, std::wstring> namespaces;
};

// What the program wrote to its standard output, a line each.
struct Console {
  std::vector<std::wstring> lines;
};

// What SendMessageW delivered, the window procedure that handles it, and the
// message boxes shown (each answered with IDOK).
struct Windows {
  struct Message {
    plat::Handle window;
    uint32_t message;
    uintptr_t wParam;
    intptr_t lParam;
  };
  // Called on the sending thread, outside the machine's lock.
  std::function<intptr_t(const Message&)> procedure;
  std::vector<Message> sent;
  struct MessageBox {
    plat::Handle owner;
    std::wstring text, caption;
    uint32_t style;
  };
  std::vector<MessageBox> messageBoxes;
  // The titles of the top-level windows FindWindowW finds, and those
  // brought to the front.
  std::vector<std::wstring> topLevel;
  std::vector<std::wstring> broughtToFront;
};

}  // namespace sim
