#include "app/install_program.h"

#include "base/ascii_case.h"
#include "base/executable_dir.h"
#include "catalog/platform_probe.h"
#include "catalog/printer_info_file.h"
#include "discovery/model_detection.h"
#include "engine/install_road.h"
#include "engine/installation_lock.h"
#include "engine/native_program.h"
#include "engine/package_check.h"
#include "engine/payload_folder.h"
#include "engine/printer_queue.h"
#include "engine/uninstall_road.h"
#include "platform/console.h"
#include "platform/process.h"
#include "report/error_codes.h"
#include "report/error_report.h"
#include "report/install_log.h"
#include "report/install_steps.h"
#include "report/product_version.h"

namespace {

const wchar_t kUsage[] =
    L"用法：QuillexInstall.exe /install /model <型号> /port <端口> [/detected <型号>] [/update]\n"
    L"      QuillexInstall.exe /install /detect [/model <型号>] /port <端口>\n"
    L"      QuillexInstall.exe /check [<文件夹>]\n"
    L"      QuillexInstall.exe /uninstall /model <型号> | /all [/spooleroptional]\n"
    L"  /model     PrinterInfo.ini 列出的型号，例如 QX-630K\n"
    L"  /port      打印机端口，例如 LPT1: 或 USB001\n"
    L"  /detected  已连接打印机的型号；与 /model 相同时进行即插即用驱动更新\n"
    L"  /detect    检测已连接的打印机；不给 /model 时安装检测到的型号或第一个型号\n"
    L"  /check     检查驱动程序包（默认为本程序所在的文件夹），不安装；退出代码 0 通过，1 发现问题\n"
    L"  /uninstall 删除该型号（/all：所有型号）的 Quillex 打印机及其驱动程序；不再有 Quillex 打印机时，\n"
    L"             也卸载 INF 文件和语言监视器；有打印作业的打印机待作业打印完后删除，其驱动程序保留\n"
    L"  /update    该端口上已有该型号的 Quillex 打印机时，更新驱动程序包、语言监视器和驱动程序，\n"
    L"             保留该打印机（名称、端口、设置），不添加副本；MSI 的安装、升级和修复使用它\n"
    L"  /spooleroptional  打印服务无法运行时保留打印机（仍可打印）并返回 0；MSI 的卸载使用它\n"
    L"退出代码：0 成功；安装向导的错误代码；87 参数错误；740 需要管理员权限；1618 另一个安装正在运行";

bool IsSwitch(const std::wstring& argument) {
  return argument.size() > 1 && (argument[0] == L'/' || argument[0] == L'-');
}

// An uninstall names a model or all of them, and installs nothing.
bool UninstallArgumentsFit(bool install, const InstallCommand& command, std::wstring& error) {
  if (install) error = L"/install 和 /uninstall 不能同时使用。";
  else if (command.model.empty() == !command.all) error = L"/uninstall 需要 /model <型号> 或 /all 二者之一。";
  else if (command.update) error = L"/update 只用于 /install。";
  return error.empty();
}

// The switch that takes the next argument as its value, or null.
std::wstring* ValueOf(const std::wstring& name, InstallCommand& command) {
  if (name == L"model") return &command.model;
  if (name == L"port") return &command.port;
  if (name == L"detected") return &command.detected;
  if (name == L"handoff") return &command.handoff;
  return nullptr;
}

void PrintStep(InstallStep step, const std::wstring& detail) {
  static const wchar_t* const kStepTexts[] = {
      L"即插即用驱动更新：", L"打印机名称：", L"复制驱动文件到：", L"安装 INF 文件：",
      L"注册语言监视器：",   L"注册打印机驱动程序：", L"创建打印机，端口：",
      L"保留打印机，已更新：",
      L"删除打印机：",       L"删除打印机驱动程序：", L"卸载 INF 文件：",     L"删除语言监视器：",
      L"保留 INF 文件和语言监视器，仍在使用它们的打印机：",
      L"待删除：",           L"未卸载：",
  };
  plat::WriteStdoutLine(kStepTexts[static_cast<int>(step)] + detail);
}

void PrintFailure(int code) {
  plat::WriteStdoutLine(L"安装失败：" + std::to_wstring(code) + L" " + ErrorCodeMeaning(code));
}

void PrintUninstallFailure(int code) {
  plat::WriteStdoutLine(L"卸载失败：" + std::to_wstring(code) + L" " + ErrorCodeMeaning(code));
}

int BadArguments(const std::wstring& reason) {
  plat::WriteStdoutLine(reason);
  plat::WriteStdoutLine(kUsage);
  return kExitBadArguments;
}

// The configured spelling of `requested` (case ignored, the brand allowed).
bool FindConfiguredModel(const std::vector<std::wstring>& models, const std::wstring& requested, std::wstring& found) {
  const std::wstring wanted = LowerAscii(ModelFromListLine(requested));
  for (const std::wstring& model : models)
    if (LowerAscii(model) == wanted) {
      found = model;
      return true;
    }
  return false;
}

std::wstring ModelList(const std::vector<std::wstring>& models) {
  std::wstring list;
  for (const std::wstring& model : models) list += (list.empty() ? L"" : L"、") + model;
  return list;
}

// The model and the detected model of the job; the exit code when there is none.
int ChooseModel(const InstallCommand& command, std::wstring& model, std::wstring& detected) {
  CPrinterInfoFile printerInfo;
  std::vector<std::wstring> models;
  if (!ReadConfiguredModels(printerInfo, models)) {
    PrintFailure(kCodeConfiguration);
    return kCodeConfiguration;
  }
  detected = command.detected;
  std::wstring detectedRow;
  if (command.detect) {
    ModelListRows page = DetectPrinterModel(printerInfo, nullptr, detected);
    if (page.selected >= 0) detectedRow = ModelFromListLine(page.rows[page.selected]);
  }
  if (command.model.empty()) {
    if (detectedRow.empty()) return BadArguments(L"PrinterInfo.ini 没有列出可安装的型号。");
    model = detectedRow;
    return kExitSuccess;
  }
  if (!FindConfiguredModel(models, command.model, model))
    return BadArguments(L"未知型号：" + command.model + L"。可用的型号：" + ModelList(models));
  return kExitSuccess;
}

// Elevation, then the one-installation lock (unless a wizard lends its own);
// the exit code when the program may not go on, else 0.
int Admit(const InstallCommand& command, CInstallationLock& lock) {
  if (!plat::IsProcessElevated()) {
    plat::WriteStdoutLine(L"需要管理员权限：请在以管理员身份运行的命令提示符中执行。");
    return kExitNotElevated;
  }
  if (!IsLockHandedOff(command.handoff) && !lock.Acquire()) {
    plat::WriteStdoutLine(kAnotherInstallationText);
    return kExitAnotherInstall;
  }
  return kExitSuccess;
}

// Run from a folder the user can write (Downloads, say), the package is read
// from a copy no process of the user can change; false, shown, when it
// cannot be made.
bool PackageReadSafely(const InstallCommand& command, CPayloadFolder& payload) {
  if (RunsFromAdministratorsFolder(IsLockHandedOff(command.handoff)) || payload.Create()) return true;
  ShowErrorCode(kCodeFileCopy);
  return false;
}

// The 32-bit program on 64-bit Windows: the 64-bit one runs from such a
// copy (or from Program Files, where the MSI puts both), under this
// program's lock.
int HandToNativeProgram(std::vector<std::wstring> arguments) {
  CInstallationLock lock;
  if (const int code = Admit(InstallCommand{}, lock); code != kExitSuccess) return code;
  CPayloadFolder payload;
  if (!PackageReadSafely(InstallCommand{}, payload)) return kCodeFileCopy;
  CLockHandoff handoff;
  if (handoff.Valid()) arguments.insert(arguments.end(), {L"/handoff", handoff.Token()});
  const int code = RunNativeProgram(arguments, plat::ConsoleUse::Inherit);
  if (code == kCodeNativeProgram) PrintFailure(code);
  return code;
}

// Every run that changes the machine starts its log with the version and the command.
void LogRun(const std::vector<std::wstring>& arguments) {
  std::wstring line = L"QuillexInstall " QX_VERSION_TEXT;
  for (const std::wstring& argument : arguments) line += L" " + argument;
  WriteInstallLog(line, false);
}

int Install(const InstallCommand& command, const std::vector<std::wstring>& arguments) {
  CInstallationLock lock;
  if (const int code = Admit(command, lock); code != kExitSuccess) return code;
  std::wstring model, detected;
  if (const int code = ChooseModel(command, model, detected); code != kExitSuccess) return code;
  const InstallJob job = MakeInstallJob(nullptr, model, command.port, detected);
  if (const int code = RefusalOfThisWindows(); code != 0) return code;
  LogRun(arguments);
  CPayloadFolder payload;
  if (!PackageReadSafely(command, payload)) return kCodeFileCopy;

  SetStepObserver(&PrintStep);
  InstallReport report;
  const bool succeeded = command.update ? RunUpdateRoad(job, [] {}) : RunInstallRoad(job, [] {});
  const int code = report.Finish(succeeded);
  SetStepObserver(nullptr);
  if (succeeded) plat::WriteStdoutLine(L"驱动安装成功");
  return code;
}

// Reads files only: no test of elevation, no lock, no spooler.
int CheckPackage(const std::wstring& folder) {
  const std::wstring root = folder.empty() ? GetExecutableDirectory() : folder;
  const std::vector<PackageFinding> findings = CheckDriverPackage(root);
  for (const PackageFinding& finding : findings) plat::WriteStdoutLine(FindingLine(finding));
  plat::WriteStdoutLine(CheckSummaryLine(root, findings.size()));
  return findings.empty() ? kExitCheckPassed : kExitCheckFindings;
}

// A model of an older package may be gone from PrinterInfo.ini: any name is taken.
int Uninstall(const InstallCommand& command, const std::vector<std::wstring>& arguments) {
  CInstallationLock lock;
  if (const int code = Admit(command, lock); code != kExitSuccess) return code;
  LogRun(arguments);
  SetErrorPresenter(&PrintUninstallFailure);
  CPayloadFolder payload;
  if (!PackageReadSafely(command, payload)) return kCodeFileCopy;
  SetStepObserver(&PrintStep);
  InstallReport report;
  const std::wstring model = command.all ? L"" : ModelFromListLine(command.model);
  const bool removed = command.spoolerOptional ? RunUninstallRoadOrKeepPrinters(model) : RunUninstallRoad(model);
  const int code = report.Finish(removed);
  SetStepObserver(nullptr);
  if (removed) plat::WriteStdoutLine(L"驱动卸载成功");
  return code;
}


}  // namespace

bool ParseInstallCommand(const std::vector<std::wstring>& arguments, InstallCommand& command, std::wstring& error) {
  command = InstallCommand{};
  bool install = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::wstring& argument = arguments[i];
    const std::wstring name = IsSwitch(argument) ? LowerAscii(argument.substr(1)) : L"";
    if (name == L"?") {
      command.usage = true;
    } else if (name == L"install") {
      install = true;
    } else if (name == L"uninstall") {
      command.uninstall = true;
    } else if (name == L"all") {
      command.all = true;
    } else if (name == L"detect") {
      command.detect = true;
    } else if (name == L"update") {
      command.update = true;
    } else if (name == L"spooleroptional") {
      command.spoolerOptional = true;
    } else if (name == L"check") {
      command.check = true;
      if (i + 1 < arguments.size() && !IsSwitch(arguments[i + 1])) command.checkFolder = arguments[++i];
    } else if (std::wstring* value = ValueOf(name, command)) {
      if (i + 1 >= arguments.size() || arguments[i + 1].empty()) {
        error = L"参数 " + argument + L" 缺少值。";
        return false;
      }
      *value = arguments[++i];
    } else {
      error = L"未知参数：" + argument;
      return false;
    }
  }
  if (command.usage) return true;
  if (command.check &&
      (install || command.uninstall || command.all || !command.port.empty() || !command.model.empty() || command.detect ||
       command.update || command.spoolerOptional))
    error = L"参数 /check 不能与安装参数同用。";
  else if (command.check) return true;
  else if (command.uninstall) return UninstallArgumentsFit(install, command, error);
  else if (!install) error = L"缺少 /install（或 /uninstall）。";
  else if (command.port.empty()) error = L"缺少 /port <端口>。";
  else if (command.model.empty() && !command.detect) error = L"缺少 /model <型号>（或 /detect）。";
  else if (command.all) error = L"/all 只用于 /uninstall。";
  else if (command.spoolerOptional) error = L"/spooleroptional 只用于 /uninstall。";
  return error.empty();
}

int RunInstallProgram(const std::vector<std::wstring>& arguments) {
  SetErrorPresenter(&PrintFailure);
  InstallCommand command;
  std::wstring error;
  const bool parsed = ParseInstallCommand(arguments, command, error);
  if (parsed && command.check) return CheckPackage(command.checkFolder);  // no need of the 64-bit program
  if (RunsUnderWow64()) return HandToNativeProgram(arguments);
  if (!parsed) return BadArguments(error);
  if (command.usage) {
    plat::WriteStdoutLine(kUsage);
    return kExitSuccess;
  }
  return command.uninstall ? Uninstall(command, arguments) : Install(command, arguments);
}
