#include "engine/package_check.h"

#include <algorithm>

#include "base/ascii_case.h"
#include "base/executable_dir.h"
#include "catalog/inf_file_helper.h"
#include "catalog/model_name.h"
#include "catalog/printer_info_file.h"
#include "engine/driver_package.h"
#include "engine/file_bytes.h"
#include "engine/folder_entries.h"
#include "engine/install_job.h"
#include "engine/package_files.h"
#include "engine/package_library.h"
#include "engine/pe_image.h"
#include "platform/codepage.h"
#include "platform/files.h"

namespace {

// PrinterInfo.ini and the readme are a few kilobytes; anything near this is no text of theirs.
constexpr uint64_t kMaxTextBytes = 16ull << 20;
// The spooler asks the printer interface library for the property sheets of
// every printer of the driver.
const wchar_t kPrinterInterfaceDll[] = L"unidrvui.dll";  // in lower case
const char kPrinterInterfaceEntryPoint[] = "DrvDocumentPropertySheets";

struct Family {
  PinFamily family;
  const wchar_t* folder;
  const wchar_t* inf;
};
constexpr Family kFamilies[] = {{Pin24, L"24Pin\\", L"24Pin.inf"}, {Pin9, L"9Pin\\", L"9Pin.inf"}};

struct Architecture {
  const wchar_t* folder;
  uint16_t machine;
  bool x64;
  const wchar_t* modelsSection;  // as the findings name it
};
constexpr Architecture kArchitectures[] = {{L"i386\\", kPeMachineI386, false, L"[Quillex_Tech]"},
                                           {L"X64\\", kPeMachineAmd64, true, L"[Quillex_Tech.NTamd64]"}};

// One branch of the tree being checked, and where its findings go.
struct Branch {
  const Family& family;
  const Architecture& arch;
  std::wstring folder;  // ending in "\"
  std::vector<PackageFinding>& findings;

  void Report(std::wstring what, const std::wstring& name = {}) const {
    findings.push_back({std::move(what), folder + name});
  }
};

std::wstring WithSeparator(const std::wstring& folder) {
  return folder.empty() || folder.back() == L'\\' || folder.back() == L'/' ? folder : folder + L"\\";
}

// The configured models, their names' own findings reported.
std::vector<std::wstring> ConfiguredModels(const std::wstring& root, std::vector<PackageFinding>& findings) {
  const CPrinterInfoFile printerInfo(root);
  std::vector<std::wstring> table(kModelTableSize), models;
  const int count = std::min(printerInfo.ReadNumberedList(kModelSection, table), kModelTableSize);
  for (int i = 0; i < count; ++i) {
    if (table[i].empty()) continue;  // not shown, as the model page leaves it out
    if (CanNameDataFile(table[i]))
      models.push_back(table[i]);
    else
      findings.push_back({L"型号名称不能用作文件名（" + table[i] + L"）", printerInfo.Path()});
  }
  if (models.empty()) findings.push_back({L"PrinterInfo.ini 没有列出可安装的型号", printerInfo.Path()});
  return models;
}

// The fault of a library, or of the printer interface library without its
// entry point; empty when it has none.
std::wstring LibraryFinding(const PackageFile& file, const Architecture& arch) {
  switch (CheckPackageLibrary(file.folder, file.name, arch.machine)) {
    case LibraryFault::NotAnImage: return L"不是可读的 Windows 库文件";
    case LibraryFault::WrongMachine: return arch.x64 ? L"不是 64 位（x64）库文件" : L"不是 32 位（x86）库文件";
    case LibraryFault::NoEntryPoint: return L"语言监视器没有导出 InitializePrintMonitor2";
    case LibraryFault::None: break;
  }
  if (LowerAscii(file.name) != kPrinterInterfaceDll) return {};
  PeImage image;
  if (!ReadPeImage(file.folder + file.name, image)) return L"不是可读的 Windows 库文件";
  return ExportsName(image, kPrinterInterfaceEntryPoint) ? L"" : L"打印机界面库没有导出 DrvDocumentPropertySheets";
}

void CheckLibraries(const Branch& branch, const std::vector<PackageFile>& files) {
  for (const PackageFile& file : files)
    if (std::wstring what = LibraryFinding(file, branch.arch); !what.empty())
      branch.findings.push_back({std::move(what), file.folder + file.name});
}

// The copy list of the family and, in the installed family's branches, each
// model's data file.
void CheckFiles(const Branch& branch, const std::vector<std::wstring>& models) {
  std::wstring copyList = FamilyCopyList(branch.family.family);
  const bool installed = branch.family.family == kInstalledFamily;
  if (installed)
    for (const std::wstring& model : models) copyList += model + kDataFileSuffix + L";";
  std::vector<PackageFile> files;
  if (!CollectPackageFiles(branch.folder, LowerAscii(copyList), L"", files)) {
    branch.Report(L"无法列出驱动程序文件夹");
    return;
  }
  for (const std::wstring& name : MissingPackageFiles(files, FamilyCopyList(branch.family.family)))
    branch.Report(L"缺少驱动文件", name);
  if (installed)
    for (const std::wstring& model : models)
      if (!MissingPackageFiles(files, model + kDataFileSuffix + L";").empty())
        branch.Report(L"缺少型号 " + model + L" 的数据文件", model + kDataFileSuffix);
  CheckLibraries(branch, files);
}

bool HasModelLine(const std::vector<InfModelLine>& lines, const std::wstring& model) {
  const std::wstring section = LowerAscii(model + kDataFileSuffix);
  return std::any_of(lines.begin(), lines.end(),
                     [&](const InfModelLine& line) { return LowerAscii(line.installSection) == section; });
}

// The INF as the installation reads it: staged whole, its manufacturer and
// models sections read by the Plug and Play update.
void CheckInf(const Branch& branch, const std::vector<std::wstring>& models) {
  const std::wstring name = branch.family.inf;
  CInfFileHelper inf;
  std::vector<std::wstring> manufacturers;
  std::vector<InfModelLine> lines;
  if (!inf.Open(branch.folder + name)) return branch.Report(L"无法读取 INF 文件", name);
  const bool hasManufacturers = inf.ReadManufacturers(manufacturers);
  if (inf.ReadFailed()) return branch.Report(L"无法读取 INF 文件", name);
  if (!hasManufacturers || manufacturers.empty()) branch.Report(L"INF 文件的 [Manufacturer] 节没有条目", name);
  const bool hasModels = inf.ReadModelLines(branch.arch.x64, lines);
  if (inf.ReadFailed()) return branch.Report(L"无法读取 INF 文件", name);
  if (!hasModels) return branch.Report(L"INF 文件缺少型号节 " + std::wstring(branch.arch.modelsSection), name);
  if (branch.family.family != kInstalledFamily) return;
  for (const std::wstring& model : models)
    if (!HasModelLine(lines, model))
      branch.Report(L"INF 文件的型号节 " + std::wstring(branch.arch.modelsSection) + L" 没有型号 " + model, name);
}

void CheckGbkText(const std::wstring& path, std::vector<PackageFinding>& findings) {
  std::string bytes;
  if (!ReadFileBytes(path, kMaxTextBytes, bytes)) return findings.push_back({L"无法读取文件", path});
  if (bytes.empty()) return;
  const int size = static_cast<int>(bytes.size());
  if (plat::MultiByteToWideCharStrict(plat::kCpGbk, bytes.data(), size, nullptr, 0) == 0)
    findings.push_back({L"不是 GBK 编码的文本", path});
}

void CheckFonts(const std::wstring& root, std::vector<PackageFinding>& findings) {
  const std::wstring folder = root + kFontFolderName;
  bool anyFont = false;
  if (!ForEachFolderEntry(folder, [&](const std::wstring&, bool isFolder) { anyFont = anyFont || !isFolder; }))
    findings.push_back({L"缺少字体文件夹", folder});
  else if (!anyFont)
    findings.push_back({L"字体文件夹中没有字体文件", folder});
}

}  // namespace

std::vector<PackageFinding> CheckDriverPackage(const std::wstring& rootFolder) {
  const std::wstring root = WithSeparator(rootFolder);
  std::vector<PackageFinding> findings;
  const uint32_t attributes = plat::GetFileAttributesW(root.empty() ? L"." : root);
  if (attributes == plat::kInvalidFileAttributes || !(attributes & plat::kFileAttributeDirectory)) {
    findings.push_back({L"驱动程序包文件夹不存在", root});
    return findings;  // every other finding would only repeat this one
  }
  CheckGbkText(root + kPrinterInfoName, findings);
  const std::vector<std::wstring> models = ConfiguredModels(root, findings);
  for (const Family& family : kFamilies)
    for (const Architecture& arch : kArchitectures) {
      const Branch branch{family, arch, root + family.folder + arch.folder, findings};
      CheckFiles(branch, models);
      CheckInf(branch, models);
    }
  CheckGbkText(root + kReadmeFileName, findings);
  CheckFonts(root, findings);
  return findings;
}

std::wstring FindingLine(const PackageFinding& finding) { return finding.what + L"：" + finding.where; }

std::wstring CheckSummaryLine(const std::wstring& root, size_t findingCount) {
  if (findingCount == 0) return L"驱动程序包检查通过：" + root;
  return L"驱动程序包检查发现 " + std::to_wstring(findingCount) + L" 个问题：" + root;
}
