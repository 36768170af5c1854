#include <chrono>
#include <thread>

#include "platform/error.h"
#include "platform/kernel.h"
#include "platform/sim/machine.h"

namespace plat {

void Sleep(uint32_t milliseconds) {
  bool realPause = true;
  {
    auto lock = sim::machine().Lock();
    if (sim::Enter("Sleep", std::to_wstring(milliseconds)) && sim::Gone()) return;
    sim::machine().clock.Advance(milliseconds);
    sim::machine().clock.RecordSleep(milliseconds);
    realPause = sim::machine().clock.realPauses;
  }
  // Virtual time passes at once. A pause is also where a thread waits for
  // another one (a file held open, a service starting), so give the other
  // threads of a test a real moment to run; Sleep(0) only yields, as on
  // Windows, so that a poll without a pause stays fast.
  if (milliseconds == 0 || !realPause)
    std::this_thread::yield();
  else
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

uint32_t GetTickCount() {
  auto lock = sim::machine().Lock();
  return static_cast<uint32_t>(sim::machine().clock.NowMs());
}

void GetLocalTime(SystemTime& time) {
  auto lock = sim::machine().Lock();
  sim::Enter("GetLocalTime");
  time = sim::machine().clock.LocalTime();
}

std::wstring GetModuleFileNameW(uint32_t capacity) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("GetModuleFileNameW")) return {};
  std::wstring name = sim::machine().kernel.moduleFileName;
  if (name.size() >= capacity) {
    SetLastError(kErrorInsufficientBuffer);
    return name.substr(0, capacity);
  }
  return name;
}

bool GetNativeSystemInfo(SystemInfo& info) {
  auto lock = sim::machine().Lock();
  sim::Enter("GetNativeSystemInfo");
  if (!sim::machine().kernel.nativeSystemInfoExported) return false;
  info.processorArchitecture = sim::machine().kernel.nativeArchitecture;
  return true;
}

bool GetNativeMachine(uint16_t& machine) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("IsWow64Process2")) return false;
  if (!sim::machine().kernel.wow64Process2Exported) return false;
  switch (sim::machine().kernel.nativeArchitecture) {
    case kProcessorArchitectureIntel: machine = kImageMachineI386; break;
    case kProcessorArchitectureAmd64: machine = kImageMachineAmd64; break;
    case kProcessorArchitectureArm64: machine = kImageMachineArm64; break;
    default: machine = kImageMachineUnknown; break;
  }
  return true;
}

void GetSystemInfo(SystemInfo& info) {
  auto lock = sim::machine().Lock();
  sim::Enter("GetSystemInfo");
  info.processorArchitecture = sim::ProcessArchitecture();
}

bool GetVersionExW(OsVersionInfo& info) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("GetVersionExW")) return false;
  if (info.size != kOsVersionInfoSize && info.size != kOsVersionInfoExSize) {
    SetLastError(kErrorInsufficientBuffer);
    return false;
  }
  const uint32_t size = info.size;
  info = sim::machine().kernel.version;
  info.size = size;
  return true;
}

void OutputDebugStringW(const std::wstring& text) {
  auto lock = sim::machine().Lock();
  sim::Enter("OutputDebugStringW", text);
  sim::machine().kernel.debugOutput.push_back(text);
}

bool FormatMessageW(uint32_t code, std::wstring& text) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("FormatMessageW", std::to_wstring(code))) return false;
  const auto& messages = sim::machine().kernel.messages;
  auto it = messages.find(code);
  if (it == messages.end()) {
    SetLastError(317);  // ERROR_MR_MID_NOT_FOUND
    return false;
  }
  text = it->second;
  return true;
}

}  // namespace plat
