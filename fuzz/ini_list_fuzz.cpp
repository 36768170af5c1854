// PrinterInfo.ini beside the executable: any bytes, read through the profile
// API as the model page reads it (the USB identifier, then the model table).
// A value never exceeds its reader's capacity, an entry is its key's value
// cut to 127 characters, and entries past the declared count stay empty.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "catalog/ini_file_helper.h"
#include "catalog/model_name.h"
#include "catalog/printer_info_file.h"
#include "platform/sim/machine.h"

namespace {
constexpr std::size_t kEntryLength = 127, kValueLength = 259;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  sim::Machine& m = sim::machine();
  m.transcript.Clear();  // one input's calls only: the machine lives for the whole run
  const CPrinterInfoFile printerInfo;
  m.fs.AddFile(printerInfo.Path(), std::string(reinterpret_cast<const char*>(data), size));

  CIniFileHelper ini;
  ini.SetFilePath(printerInfo.Path());
  for (const wchar_t* key : {L"VID", L"PID"})
    if (ini.GetString(kUsbIdSection, key).size() > kValueLength) std::abort();

  std::vector<std::wstring> models(kModelTableSize);
  const int count = printerInfo.ReadNumberedList(kModelSection, models);
  for (int i = 0; i < kModelTableSize; ++i) {
    if (i >= count) {
      if (!models[i].empty()) std::abort();
      continue;
    }
    if (models[i] != ini.GetString(kModelSection, std::to_wstring(i)).substr(0, kEntryLength)) std::abort();
    CanNameDataFile(models[i]);
  }
  return 0;
}
