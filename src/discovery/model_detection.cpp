#include "discovery/model_detection.h"

#include "catalog/ini_file_helper.h"
#include "catalog/model_name.h"
#include "discovery/parallel_port.h"
#include "discovery/usb_printer.h"
#include "platform/files.h"
#include "platform/window.h"
#include "report/error_codes.h"
#include "report/error_report.h"

namespace {

// VID + "&" + PID of the configuration; the filter stays when both are empty.
void RefreshUsbPortFilter(const std::wstring& path) {
  CIniFileHelper ini;
  ini.SetFilePath(path);
  const std::wstring vid = ini.GetString(kUsbIdSection, L"VID");
  const std::wstring pid = ini.GetString(kUsbIdSection, L"PID");
  if (!vid.empty() || !pid.empty()) UsbPortFilter = vid + L"&" + pid;
}

std::wstring DetectModel() {
  std::wstring model, manufacturer;
  ReadUsbDeviceId(model, manufacturer);
  if (model.empty()) {
    std::wstring parallelModel, parallelManufacturer;
    plat::FileHandle port = OpenParallelPrinter(kParallelPortFilter);
    if (port && ReadParallelDeviceId(std::move(port), parallelModel, parallelManufacturer)) model = parallelModel;
  }
  return model;
}

bool CanOpenExclusively(const std::wstring& path) {
  return plat::FileHandle(plat::CreateFileW(path, plat::kGenericRead, 0, plat::kOpenExisting)).valid();
}

}  // namespace

bool ReadConfiguredModels(const CPrinterInfoFile& printerInfo, std::vector<std::wstring>& models) {
  models.clear();
  if (!CanOpenExclusively(printerInfo.Path())) return false;
  std::vector<std::wstring> table(kModelTableSize);
  const int count = printerInfo.ReadNumberedList(kModelSection, table);
  for (int i = 0; i < count && i < kModelTableSize; ++i) {
    // A name that cannot be its data file's name would make the install
    // compose a path out of it: no row.
    if (CanNameDataFile(table[i])) models.push_back(table[i]);
  }
  return true;
}

ModelListRows DetectPrinterModel(const CPrinterInfoFile& printerInfo, plat::Handle wizard, std::wstring& detectedModel) {
  RefreshUsbPortFilter(printerInfo.Path());
  detectedModel = DetectModel();
  ModelListRows page;
  std::vector<std::wstring> models;
  if (!ReadConfiguredModels(printerInfo, models)) {
    ShowErrorCode(kCodeConfiguration);
    plat::SendMessageW(wizard, plat::kWmClose, 0, 0);
    page.configurationMissing = true;
    return page;
  }
  for (const std::wstring& model : models) {
    // The last model name that the detected model contains wins.
    if (detectedModel.find(model) != std::wstring::npos) page.selected = static_cast<int>(page.rows.size());
    page.rows.push_back(kBrandPrefix + model);
  }
  if (page.selected < 0 && !page.rows.empty()) page.selected = 0;
  return page;
}
