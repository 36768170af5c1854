// The simulated print spooler: monitors, drivers, ports and printers with
// their fields, and a record of what the engine asked of it.
#pragma once
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/handle.h"
#include "platform/spooler.h"

namespace sim {

class Spooler {
 public:
  Spooler();

  // Test set-up: a printer that exists already, on a known port, with no devmode.
  void AddExistingPrinter(const std::wstring& name, const std::wstring& port = L"LPT1:");
  // The printer's jobs printed: a printer pending deletion goes with the last.
  void FinishJobs(const std::wstring& name);
  const plat::PrinterInfo2* Printer(const std::wstring& name) const;
  const plat::DriverInfo6* Driver(const std::wstring& name) const;
  const plat::MonitorInfo2* Monitor(const std::wstring& name) const;

  // The devmode the driver hands out: 220 bytes of DEVMODEW for `deviceName`,
  // with the paper-size field and, when asked for, the orientation field.
  static plat::DevMode DriverDevMode(const std::wstring& deviceName, bool withOrientation);

  // What GetPrinterDriverDirectoryW reports. While the "Spooler" service is
  // not stopped, the existing files below it are held open (Machine::SpoolerHolds).
  std::wstring driverDirectory;
  std::vector<std::wstring> ports;                    // in EnumPortsW order
  std::map<std::wstring, plat::MonitorInfo2> monitors;  // by upper-case name
  std::set<std::wstring> monitorsInUse;               // DeleteMonitor refuses these (upper case)
  std::map<std::wstring, plat::DriverInfo6> drivers;
  std::map<std::wstring, plat::PrinterInfo2> printers;
  std::map<std::wstring, uint32_t> openRefusals;  // OpenPrinter fails with this error for the name
  bool driverDevModeHasOrientation = true;
  // DocumentPropertiesW calls given an output buffer shorter than the
  // driver's devmode: Windows' driver would write past its end; here the
  // call fails.
  int devModeOverruns = 0;

  std::vector<std::wstring> ordinal204Calls;
  struct Broadcast {
    plat::Handle window;
    uint32_t message;
    uintptr_t wParam;
    std::wstring text;
    uint32_t flags, timeoutMs;
  };
  std::vector<Broadcast> broadcasts;
  std::vector<plat::PrinterInfo2> setPrinterCalls;
  std::vector<plat::PrinterDefaults> openDefaults;  // of every OpenPrinter that passed defaults
  std::map<uintptr_t, std::wstring> open;          // handle -> printer key
};

}  // namespace sim
