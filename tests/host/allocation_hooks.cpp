#include "allocation_hooks.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<bool> g_failNext{false};
std::atomic<const void*> g_watched{nullptr};
std::atomic<bool> g_watchedDeleted{false};

void NoteDeletion(const void* p) {
  if (p && p == g_watched.load(std::memory_order_relaxed)) g_watchedDeleted = true;
}

}  // namespace

void FailNextAllocation() { g_failNext = true; }

void WatchDeletion(const void* object) {
  g_watchedDeleted = false;
  g_watched = object;
}

bool Deleted() { return g_watchedDeleted; }

// The replacements every other form (arrays, nothrow) falls back on.
void* operator new(std::size_t size) {
  if (g_failNext.load(std::memory_order_relaxed) && g_failNext.exchange(false)) throw std::bad_alloc();
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}

void operator delete(void* p) noexcept {
  NoteDeletion(p);
  std::free(p);
}

void operator delete(void* p, std::size_t) noexcept {
  NoteDeletion(p);
  std::free(p);
}
