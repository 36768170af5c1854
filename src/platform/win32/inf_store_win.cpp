#include <windows.h>
#include <setupapi.h>

#include "platform/inf_store.h"

namespace plat {

bool SetupCopyOEMInfW(const std::wstring& sourceInf, const std::wstring& mediaLocation, uint32_t mediaType,
                      uint32_t copyStyle, std::wstring* stagedName) {
  wchar_t destination[MAX_PATH] = {};
  PWSTR component = nullptr;
  const BOOL ok = ::SetupCopyOEMInfW(sourceInf.c_str(), mediaLocation.c_str(), mediaType, copyStyle,
                                     stagedName ? destination : nullptr, stagedName ? MAX_PATH : 0, nullptr,
                                     stagedName ? &component : nullptr);
  if (stagedName) *stagedName = component ? component : L"";
  return ok != FALSE;
}

bool SetupUninstallOEMInfW(const std::wstring& stagedName) {
  return ::SetupUninstallOEMInfW(stagedName.c_str(), 0, nullptr) != FALSE;
}

}  // namespace plat
