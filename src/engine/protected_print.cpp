#include "engine/protected_print.h"

#include "platform/error.h"
#include "platform/registry.h"

const wchar_t kProtectedPrintPolicyKey[] = L"Software\\Policies\\Microsoft\\Windows NT\\Printers\\WPP";
const wchar_t kProtectedPrintPolicyValue[] = L"WindowsProtectedPrintGroupPolicyState";
namespace {
constexpr uint32_t kPolicyOn = 1;
}

bool ProtectedPrintModeOn() {
  plat::Handle raw = nullptr;
  // Group Policy writes the machine's policy into the native view.
  if (plat::RegOpenKeyExW(plat::kHkeyLocalMachine, kProtectedPrintPolicyKey, plat::kKeyRead | plat::kKeyWow64View64,
                          raw) != plat::kErrorSuccess)
    return false;
  plat::KeyHandle key(raw);
  uint32_t state = 0;
  return plat::RegQueryDwordValue(key.get(), kProtectedPrintPolicyValue, state) == plat::kErrorSuccess &&
         state == kPolicyOn;
}
