#include <windows.h>
#include <setupapi.h>

#include "platform/inf_store.h"

namespace plat {

bool SetupCopyOEMInfW(const std::wstring& sourceInf, const std::wstring& mediaLocation, uint32_t mediaType,
                      uint32_t copyStyle) {
  return ::SetupCopyOEMInfW(sourceInf.c_str(), mediaLocation.c_str(), mediaType, copyStyle, nullptr, 0, nullptr,
                            nullptr) != FALSE;
}

}  // namespace plat
