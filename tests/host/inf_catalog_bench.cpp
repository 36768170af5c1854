// Figures of the INF model catalog on a 32 KB INF whose "[Manufacturer]"
// section and models section each hold thousands of lines: entries held,
// file reads, peak heap and time. Prints, never fails.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "catalog/inf_file_helper.h"
#include "platform/sim/machine.h"

namespace {

std::atomic<size_t> s_live{0};
std::atomic<size_t> s_peak{0};

// Heap bytes in use, counted through a size header in front of each block.
void* Allocate(size_t size) {
  void* block = std::malloc(size + sizeof(std::max_align_t));
  if (!block) throw std::bad_alloc();
  *static_cast<size_t*>(block) = size;
  size_t live = s_live += size;
  size_t peak = s_peak.load();
  while (live > peak && !s_peak.compare_exchange_weak(peak, live)) {
  }
  return static_cast<char*>(block) + sizeof(std::max_align_t);
}

void Release(void* p) {
  if (!p) return;
  void* block = static_cast<char*>(p) - sizeof(std::max_align_t);
  s_live -= *static_cast<size_t*>(block);
  std::free(block);
}

const std::wstring kInf = L"C:\\Setup\\24Pin\\X64\\24Pin.inf";

// `manufacturers` lines of "[Manufacturer]", then `models` models lines.
std::string CatalogInf(int manufacturers, int models) {
  std::string text = "[Manufacturer]\r\n";
  for (int i = 0; i < manufacturers; ++i) text += "Q=x\r\n";
  text += "[Quillex_Tech.NTamd64]\r\n";
  for (int i = 0; i < models; ++i) text += "A=a,USB\\Q" + std::to_string(1000 + i) + "\r\n";
  return text;
}

}  // namespace

void* operator new(size_t size) { return Allocate(size); }
void* operator new[](size_t size) { return Allocate(size); }
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, size_t) noexcept { Release(p); }
void operator delete[](void* p, size_t) noexcept { Release(p); }

int main() {
  sim::Machine& m = sim::machine();
  m.Reset();
  const std::string inf = CatalogInf(2000, 1500);
  m.fs.AddFile(kInf, inf);
  m.transcript.Clear();

  const size_t before = s_live.load();
  s_peak = before;
  const auto start = std::chrono::steady_clock::now();
  std::vector<std::wstring> models;
  ReadCatalogModels(kInf, models);
  const bool matched = CInfFileHelper::MatchHardwareId(models, L"USB\\Q2499&REV_0100");
  const auto elapsed = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start);

  std::printf("INF of %zu bytes: 2000 manufacturer entries, 1500 models lines\n", inf.size());
  std::printf("  model entries held: %zu\n", models.size());
  std::printf("  file reads:         %zu\n", m.transcript.Count("ReadFile"));
  std::printf("  peak heap:          %.1f MB\n", static_cast<double>(s_peak.load() - before) / (1 << 20));
  std::printf("  time (read + match): %.1f ms, last model %s\n", elapsed.count(), matched ? "matched" : "not matched");
  return 0;
}
