// Creation of the printer queue: unique name, package, driver, queue, defaults.
#pragma once
#include <string>

#include "engine/pin_family.h"

extern const wchar_t kBrandPrefix[];  // "Quillex ", before every model name

// The first name of base, base (副本 1), base (副本 2), ... that OpenPrinterW
// cannot open.
std::wstring ChoosePrinterName(const std::wstring& base);

// Installs "Quillex " + model on `portName`; true when the queue exists.
bool CreatePrinterQueue(const std::wstring& modelName, const std::wstring& portName, const std::wstring& dataFile,
                        PinFamily pinFamily);

// Passes the printer's devmode through its driver and stores it as the
// printer's default, without bidirectional support. Ends quietly at the first
// failure, and changes nothing when the devmode has no orientation.
void ApplyPrinterDefaults(const std::wstring& printerName);
