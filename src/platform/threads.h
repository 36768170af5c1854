// Threads.
#pragma once
#include <cstdint>

namespace plat {

using ThreadProc = uint32_t (*)(void* parameter);

// CreateThread with normal priority, the default stack size, running at once.
// Nobody waits for the thread: its handle is closed at once.
bool CreateThread(ThreadProc procedure, void* parameter);

}  // namespace plat
