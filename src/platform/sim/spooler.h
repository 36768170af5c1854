// The simulated print spooler's state.
#pragma once
#include <string>

namespace sim {

struct Spooler {
  // What GetPrinterDriverDirectoryW reports. While the "Spooler" service is
  // not stopped, the existing files below it are held open (Machine::SpoolerHolds).
  std::wstring driverDirectory;
};

}  // namespace sim
