// The model page's detection: which printer is connected, and which row of
// the configured models to preselect.
#pragma once
#include <string>
#include <vector>

#include "catalog/printer_info_file.h"
#include "platform/handle.h"

// What the model list shows after a detection pass.
struct ModelListRows {
  std::vector<std::wstring> rows;  // "Quillex " + model name, in table order
  int selected = -1;               // the row to select; -1 for none
  bool configurationMissing = false;  // box "1" was shown and the wizard told to close
};

// The configured models that can name their data file (CanNameDataFile), in
// table order; false when PrinterInfo.ini cannot be opened.
bool ReadConfiguredModels(const CPrinterInfoFile& printerInfo, std::vector<std::wstring>& models);

// Refreshes UsbPortFilter from the configuration, reads the model of the USB
// printer (or else of the parallel port's printer) into `detectedModel`, and
// lists the configured models that can name their data file (see
// CanNameDataFile) with the one the detected model contains selected (the
// last such, or else the first row). When PrinterInfo.ini
// cannot be opened, shows error box "1" and sends WM_CLOSE to `wizard`.
ModelListRows DetectPrinterModel(const CPrinterInfoFile& printerInfo, plat::Handle wizard, std::wstring& detectedModel);
