// The removal of what the install road installed: the printers of one model
// (or of every model), their drivers, and, once no printer of ours remains,
// the staged INF and the language monitor. Printers of other makers are never
// touched: a printer is ours only when both its name and its driver's name
// have the form CreatePrinterQueue gives them, for the same model, and the
// driver's data file is one of the package's model data files.
#pragma once
#include <string>
#include <vector>

#include "platform/spooler.h"

// The local printers at level 2; box 7 when the spooler cannot list them.
bool ReadLocalPrinters(std::vector<plat::PrinterInfo2>& printers);

// Whether `printer` is ours and of `model` (letter case ignored; empty: of any model).
bool IsOurPrinter(const plat::PrinterInfo2& printer, const std::wstring& model);

// Removes the printers of `model` (empty: all of ours) and what only they
// used. Every failure is logged and shown with its code, the others still
// removed: 7 when the spooler does not run or list its printers, 6 for a
// printer, 4 for a driver, 3 for the staged INF, 8 for the monitor. A monitor
// or INF that something else still uses stays, and that is no failure. A
// printer with jobs is left pending deletion (the jobs are never purged) and
// keeps its driver, the INF and the monitor: logged in one line, no failure.
bool RunUninstallRoad(const std::wstring& model);

// The removal of the product: like RunUninstallRoad, but when the spooler
// cannot run (disabled, or failing to start) the printers stay, working on
// their files in the spooler's folder; that is logged, and is no failure.
bool RunUninstallRoadOrKeepPrinters(const std::wstring& model);
