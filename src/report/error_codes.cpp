#include "report/error_codes.h"

namespace {

struct CodeMeaning {
  int code;
  const wchar_t* meaning;
};

constexpr CodeMeaning kMeanings[] = {
    {kCodeConfiguration, L"无法读取配置文件 PrinterInfo.ini"},
    {kCodeFileCopy, L"驱动文件无法复制"},
    {kCodeInfStaging, L"驱动程序包的 INF 文件无法安装（或卸载）"},
    {kCodeDriver, L"打印机驱动程序无法注册（或删除）"},
    {kCodePrinter, L"打印机无法创建（或删除）"},
    {kCodeSpooler, L"打印后台处理程序服务（Spooler）不可用，或无法停止、重新启动"},
    {kCodeMonitor, L"打印后台处理程序拒绝了语言监视器（或拒绝删除它）"},
    {kCodeWrongPackage, L"驱动程序包中的库文件不适用于此 Windows"},
    {kCodeProtectedPrint, L"Windows 受保护的打印模式已开启，不能安装第三方打印机驱动程序"},
    {kCodeNativeProgram, L"64 位安装程序 QuillexInstall64.exe 缺失、损坏或无法启动"},
    {kCodeUnexpected, L"安装意外失败"},
    {kCodeNoDriverForProcessor, L"此驱动程序包没有适用于本机处理器（ARM64）的驱动程序"},
};

}  // namespace

const wchar_t* ErrorCodeMeaning(int code) {
  for (const CodeMeaning& m : kMeanings)
    if (m.code == code) return m.meaning;
  return L"";
}

bool IsErrorCode(int code) { return *ErrorCodeMeaning(code) != L'\0'; }
