// Creation of the printer queue: unique name, package, driver, queue, defaults.
#pragma once
#include <string>

#include "catalog/model_name.h"
#include "catalog/pin_family.h"

// The printer's name for a model: the model itself when it already holds the
// brand prefix, else the prefix followed by the model.
std::wstring BrandedModelName(const std::wstring& model);

// The model page's line "Quillex NAME" gives NAME; a line without the brand
// prefix is taken whole.
std::wstring ModelFromListLine(const std::wstring& line);

// The model of a printer name that CreatePrinterQueue gives: "Quillex " +
// model, or that followed by the copy suffix " (副本 n)"; empty for a name
// of any other form.
std::wstring ModelOfPrinterName(const std::wstring& name);

// Copies of one printer's name that are tried before giving up.
constexpr int kMaxPrinterCopies = 9999;

// The first name of base, base (副本 1), ... base (副本 9999) that
// OpenPrinterW cannot open; empty when every one of them opens.
std::wstring ChoosePrinterName(const std::wstring& base);

// Installs "Quillex " + model on `portName`; true when the queue exists.
// Without a free name nothing is installed: error box "6".
bool CreatePrinterQueue(const std::wstring& modelName, const std::wstring& portName, const std::wstring& dataFile,
                        PinFamily pinFamily);

// Brings the installed queue `printerName` up to date in place: the package
// staged again, the monitor and the queue's driver `driverName` registered
// again. The queue keeps its name, port, settings and jobs.
bool RefreshPrinterQueue(const std::wstring& printerName, const std::wstring& driverName, const std::wstring& dataFile,
                         PinFamily pinFamily);

// Passes the printer's devmode through its driver and stores it as the
// printer's default, without bidirectional support. Ends quietly at the first
// failure, and changes nothing when the devmode has no orientation.
void ApplyPrinterDefaults(const std::wstring& printerName);
