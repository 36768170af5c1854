// Who the installed language monitor serves, from the spooler's own data:
// the drivers that name it (DRIVER_INFO_3's pMonitorName). A driver is ours
// when its data file is one of the package's model data files, whatever it
// and its printers are called.
#pragma once
#include <string>
#include <vector>

#include "platform/spooler.h"

enum class DriverOwner {
  Ours,
  Other,    // another maker's, or a model the package does not hold
  Unknown,  // the package could not be asked; the last error tells why
};

// Whose `driver` is: its data file's name is ours when `branch` (the
// installed family's for this Windows, PackageBranchFolder; empty when the
// package root is unknown) holds a file of that name other than
// "STDNAMES.GPD", which every Unidrv driver shares.
DriverOwner OwnerOfDriver(const plat::DriverInfo3& driver, const std::wstring& branch);
// PackageBranchFolder of the installed family; empty when the executable's
// folder is unknown.
std::wstring InstalledBranchFolder();

struct MonitorUsers {
  std::vector<std::wstring> ours, others;  // driver names; an unknown owner counts as another
};

// The drivers bound to the language monitor; false, with the spooler's last
// error, when they cannot be read.
bool ReadMonitorUsers(MonitorUsers& users);
