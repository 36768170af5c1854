// Process entry of QuillexSetup.exe.
#include <windows.h>

#include <string>

#include "catalog/platform_probe.h"
#include "engine/error_report.h"
#include "ui/dlg_mes_error.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  SetErrorPresenter(&PresentInstallError);
  std::wstring text = std::wstring(L"Quillex 打印机驱动安装程序\r\n\r\n系统：") +
                      (IsNative64Bit() ? L"64 位" : L"32 位") + L" Windows，类别 " +
                      std::to_wstring(GetWindowsFamilyCode());
  ::MessageBoxW(nullptr, text.c_str(), L"Quillex 驱动安装", MB_OK | MB_ICONINFORMATION);
  return 0;
}
