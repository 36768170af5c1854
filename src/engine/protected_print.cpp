#include "engine/protected_print.h"

#include "platform/error.h"
#include "platform/registry.h"

const wchar_t kProtectedPrintPolicyKey[] = L"Software\\Policies\\Microsoft\\Windows NT\\Printers\\WPP";
const wchar_t kProtectedPrintPolicyValue[] = L"WindowsProtectedPrintGroupPolicyState";
const wchar_t kProtectedPrintMessage[] =
    L"此电脑已开启 Windows 受保护的打印模式，只能使用 Windows 自带的打印驱动程序，"
    L"不能安装 Quillex 打印机驱动程序。\n\n请联系管理员关闭“配置 Windows 受保护的打印”策略后再安装。";

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
