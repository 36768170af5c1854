// A driver package's INF as the catalog reads it: any bytes. The catalog
// reads the manufacturer and models sections, then matches hardware IDs
// against the models, as the Plug and Play update does.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "catalog/inf_file_helper.h"
#include "platform/sim/machine.h"

namespace {

const std::wstring kInf = L"C:\\Setup\\24Pin\\X64\\24Pin.inf";

const std::vector<std::wstring> kIds = {L"USBPRINT\\QuillexQX-630K7B2E", L"USB\\VID_D23C&PID_0001&REV_0100",
                                        L"LPTENUM\\QuillexQX-730K", L""};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  sim::Machine& m = sim::machine();
  m.transcript.Clear();  // one input's calls only: the machine lives for the whole run
  // The first byte picks the platform, so both models sections are read.
  m.kernel.nativeArchitecture = size && (data[0] & 1) ? plat::kProcessorArchitectureIntel
                                                      : plat::kProcessorArchitectureAmd64;
  m.fs.AddFile(kInf, std::string(reinterpret_cast<const char*>(data), size));

  std::vector<std::wstring> models;
  ReadCatalogModels(kInf, models);
  for (const std::wstring& id : kIds) CInfFileHelper::MatchHardwareId(models, id);
  // A line of the file as a device ID: entries that are IDs of their own.
  if (!models.empty()) CInfFileHelper::MatchHardwareId(models, models.back() + L"&REV_0100");
  return 0;
}
