// Registration of the language monitor and of a version-3 Unidrv driver.
#pragma once
#include <string>
#include <vector>

#include "engine/pin_family.h"
#include "platform/spooler.h"

extern const wchar_t kLanguageMonitorName[];  // "Kelvane Language Monitor"
extern const wchar_t kLanguageMonitorDll[];   // "QXLMON.dll", in the driver folder

// The ";"-terminated file list as the spooler's dependent-file list:
// zero-terminated names in a zero-filled buffer of 260 units, closed by an
// extra zero. Text after the last ";" and names that no longer fit are left out.
std::vector<wchar_t> BuildDependentFileList(const std::wstring& list);

// Makes sure the language monitor is installed (replacing an installed one),
// then adds the driver `driverName` for the model's data file. Shows error
// box "4" when the driver cannot be added.
bool RegisterDriver(const std::wstring& driverName, PinFamily pinFamily, const std::wstring& dataFile);

// Called right after AddMonitorW failed: replaces a monitor the spooler
// reports as already installed (restart, delete, restart, add).
bool ReinstallMonitor(const plat::MonitorInfo2& monitor);
