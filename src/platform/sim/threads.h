// Threads and windows of the simulated machine.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/handle.h"

namespace sim {

// The threads that CreateThread started, so that tests can wait for them.
struct Threads {
  std::vector<std::thread> running;
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
};

}  // namespace sim
