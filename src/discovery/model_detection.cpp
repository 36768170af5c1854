#include "discovery/model_detection.h"

#include "catalog/ini_file_helper.h"
#include "discovery/model_name.h"
#include "discovery/parallel_port.h"
#include "discovery/usb_printer.h"
#include "engine/error_report.h"
#include "engine/printer_queue.h"
#include "platform/files.h"
#include "platform/window.h"

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

ModelListRows DetectPrinterModel(const CPrinterInfoFile& printerInfo, plat::Handle wizard, std::wstring& detectedModel) {
  RefreshUsbPortFilter(printerInfo.Path());
  detectedModel = DetectModel();
  ModelListRows page;
  if (!CanOpenExclusively(printerInfo.Path())) {
    ShowErrorCode(L"1");
    plat::SendMessageW(wizard, plat::kWmClose, 0, 0);
    page.configurationMissing = true;
    return page;
  }
  std::vector<std::wstring> models(kModelTableSize);
  const int count = printerInfo.ReadNumberedList(kModelSection, models);
  for (int i = 0; i < count && i < kModelTableSize; ++i) {
    // A name that cannot be its data file's name would make the install
    // compose a path out of it: no row.
    if (!CanNameDataFile(models[i])) continue;
    // The last model name that the detected model contains wins.
    if (detectedModel.find(models[i]) != std::wstring::npos) page.selected = static_cast<int>(page.rows.size());
    page.rows.push_back(kBrandPrefix + models[i]);
  }
  if (page.selected < 0 && !page.rows.empty()) page.selected = 0;
  return page;
}
