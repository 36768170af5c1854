// Benchmark (`make bench`): the platform calls between closing the readme
// and the model page, and those of the port page's list, with no printer
// attached, each made bare (no code of the installer around it) in the order
// the wizard makes them: the first call of the process, then the median of
// later ones. A slow one here is the platform's. Prints figures; asserts nothing.
#include <windows.h>
#include <setupapi.h>
#include <winspool.h>

#include <cstdio>
#include <functional>
#include <vector>

#include "bench_timing.h"

namespace {

constexpr int kRepeats = 7;
const GUID kUsbPrint = {0x28d78fad, 0x5a12, 0x11d1, {0xae, 0x5b, 0x00, 0x00, 0xf8, 0x03, 0xa8, 0xc2}};
const GUID kParallel = {0x97f76ef8, 0xf883, 0x11d0, {0xaf, 0x1f, 0x00, 0x00, 0xf8, 0x00, 0x84, 0x5c}};

void Report(const char* what, const std::function<void()>& call) {
  const double first = bench::TimeOnce(call);
  std::vector<double> later;
  for (int i = 0; i < kRepeats; ++i) later.push_back(bench::TimeOnce(call));
  std::printf("  %-52s first %8.2f ms, later %8.2f ms\n", what, first, bench::Median(later));
}

// A present-interfaces set of `guid`, walked to its end, and destroyed.
void WalkInterfaces(const GUID& guid) {
  HDEVINFO set = SetupDiGetClassDevsW(&guid, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
  if (set == INVALID_HANDLE_VALUE) return;
  SP_DEVICE_INTERFACE_DATA iface{};
  iface.cbSize = sizeof iface;
  for (DWORD i = 0; SetupDiEnumDeviceInterfaces(set, nullptr, &guid, i, &iface); ++i) {
  }
  SetupDiDestroyDeviceInfoList(set);
}

// The "Ports" class's present devices with their friendly names.
void WalkPorts() {
  GUID classes[8];
  DWORD count = 0;
  if (!SetupDiClassGuidsFromNameW(L"Ports", classes, 8, &count) || count == 0) return;
  HDEVINFO set = SetupDiGetClassDevsW(&classes[0], nullptr, nullptr, DIGCF_PRESENT);
  if (set == INVALID_HANDLE_VALUE) return;
  SP_DEVINFO_DATA device{};
  device.cbSize = sizeof device;
  wchar_t name[130];
  for (DWORD i = 0; SetupDiEnumDeviceInfo(set, i, &device); ++i)
    SetupDiGetDeviceRegistryPropertyW(set, &device, SPDRP_FRIENDLYNAME, nullptr, reinterpret_cast<BYTE*>(name),
                                      sizeof name, nullptr);
  SetupDiDestroyDeviceInfoList(set);
}

void EnumPortsTwice() {
  DWORD needed = 0, count = 0;
  EnumPortsW(nullptr, 1, nullptr, 0, &needed, &count);
  std::vector<BYTE> buffer(needed);
  EnumPortsW(nullptr, 1, buffer.data(), needed, &needed, &count);
}

}  // namespace

int main() {
  std::printf("the pages' platform calls, bare, no printer attached (first call; median of %d later):\n", kRepeats);
  std::printf(" the readme's end:\n");
  std::printf("  %-52s median of 3 %8.2f ms\n", "ShowWindow SW_HIDE of a shown captioned window",
              bench::HideOfShownWindow(3));
  std::printf(" model page (DetectPrinterModel):\n");
  Report("SetupDiGetClassDevsW USB printing interfaces + walk", [] { WalkInterfaces(kUsbPrint); });
  Report("SetupDiClassGuidsFromNameW Ports + devices + names", WalkPorts);
  Report("SetupDiGetClassDevsW parallel interfaces + walk", [] { WalkInterfaces(kParallel); });
  Report("CreateFileW \\\\.\\ (no parallel port found)", [] {
    HANDLE port = CreateFileW(L"\\\\.\\", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (port != INVALID_HANDLE_VALUE) CloseHandle(port);
  });
  std::printf(" port page (FillPortList):\n");
  Report("EnumPortsW level 1, size then records", EnumPortsTwice);
  Report("SetupDiGetClassDevsW USB printing interfaces + walk", [] { WalkInterfaces(kUsbPrint); });
  return 0;
}
