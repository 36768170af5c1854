// Threads and windows of the simulated machine.
#pragma once
#include <cstdint>
#include <functional>
#include <thread>
#include <vector>

#include "platform/handle.h"

namespace sim {

// The threads that CreateThread started, so that tests can wait for them.
struct Threads {
  std::vector<std::thread> running;
};

// What SendMessageW delivered, and the window procedure that handles it.
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
};

}  // namespace sim
