// Registration of the language monitor and of a version-3 Unidrv driver.
#pragma once
#include <string>
#include <vector>

#include "catalog/pin_family.h"
#include "engine/service_control.h"
#include "platform/spooler.h"

extern const wchar_t kLanguageMonitorName[];  // "Kelvane Language Monitor"
extern const char kMonitorEntryPoint[];      // "InitializePrintMonitor2", exported by the monitor DLL
extern const wchar_t kLanguageMonitorDll[];   // "QXLMON.dll", in the driver folder

// The ";"-terminated file list as the spooler's dependent-file list:
// zero-terminated names in a zero-filled buffer of 260 units, closed by an
// extra zero. Text after the last ";" and names that no longer fit are left out.
std::vector<wchar_t> BuildDependentFileList(const std::wstring& list);

// Makes sure the language monitor is installed (replacing an installed one),
// then adds the driver `driverName` for the model's data file. Every failure
// is logged and shown: box 7 without the spooler's driver folder, box 8 for a
// monitor the spooler refuses, box 4 for the driver. With `again`, a driver
// of that name that the spooler will not replace (Wine's answer; Windows
// updates it) stays registered on the files just staged, and is logged.
bool RegisterDriver(const std::wstring& driverName, PinFamily pinFamily, const std::wstring& dataFile,
                    bool again = false);

// The fixed pauses of replacing an installed monitor: two spooler restarts
// and the pause before the delete. Every installation after the first pays them.
constexpr uint32_t kPauseBeforeMonitorDeleteMs = 1000;
constexpr uint32_t kMonitorReplacementPausesMs = 2 * (2 * kSpoolerPauseMs) + kPauseBeforeMonitorDeleteMs;

// Called right after AddMonitorW failed: replaces a monitor the spooler
// reports as already installed. The drivers bound to it decide how: one of
// another maker's keeps it as it is; ours alone keep its registration, and a
// spooler restart loads the DLL the package copy refreshed; none: restart,
// delete, restart, add. When the new one is refused after the old one was
// deleted, the old one is registered again from its kept DLL
// (KeepInstalledMonitor).
bool ReinstallMonitor(const plat::MonitorInfo2& monitor, const std::wstring& driverDirectory);

// Where the installed monitor's DLL is kept while a package replaces it:
// "QuillexMonitor\QXLMON.dll" beside the driver folder `driverDirectory`.
std::wstring KeptMonitorPath(const std::wstring& driverDirectory);
// Keeps the installed monitor's DLL there, before the package is copied.
void KeepInstalledMonitor(const std::wstring& driverDirectory);
