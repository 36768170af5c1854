#include "engine/driver_package.h"

#include "catalog/package_root.h"
#include "catalog/platform_probe.h"
#include "platform/spooler.h"

namespace {

constexpr uint32_t kDriverDirectoryBytes = 512;

// The package's folder without its trailing separator.
std::wstring PackageRoot() {
  std::wstring folder = GetPackageRootDirectory();
  if (!folder.empty()) folder.pop_back();
  return folder;
}

std::wstring BranchBelowRoot(PinFamily family, bool is64Bit) {
  return std::wstring(family == Pin24 ? L"24Pin" : L"9Pin") + (is64Bit ? L"\\X64\\" : L"\\i386\\");
}

}  // namespace

std::wstring FamilyCopyList(PinFamily family) {
  switch (family) {
    case Pin24:
      return L"QX24RES.DLL;STDNAMES.GPD;unidrv.hlp;unidrvui.dll;unidrv.dll;unires.dll;STDDTYPE.GDL;STDSCHEM.GDL;"
             L"STDSCHMX.GDL;QxSet.ini;QxSetUI.dll;QxSetUni.dll;QXLMON.dll;";
    case Pin9:
      return L"UNIDRV.DLL;UNIDRVUI.DLL;UNIDRV.HLP;UNIRES.DLL;STDNAMES.GPD;STDDTYPE.GDL;STDSCHEM.GDL;STDSCHMX.GDL;"
             L"QXMPUI.dll;QXMPUNI.dll;QXMPdll.ini;QX9res.dll;";
    case Pin9Basic:
      return L"UNIDRV.DLL;UNIDRVUI.DLL;UNIDRV.HLP;UNIRES.DLL;STDNAMES.GPD;STDDTYPE.GDL;STDSCHEM.GDL;STDSCHMX.GDL;"
             L"QX9res.dll;";
  }
  return {};
}

std::wstring FamilyProtectedList(PinFamily family) {
  switch (family) {
    case Pin24:
      return L"QX24RES.DLL;QXLMON.dll;QxSet.ini;QxSetUI.dll;";
    case Pin9:
      return L"QX9res.dll;QXPrndll.ini;QXPrnUni.dll;QXMPUNI.dll;";
    case Pin9Basic:
      return L"QX9res.dll;";
  }
  return {};
}

std::wstring FamilyDependentFiles(PinFamily family) {
  switch (family) {
    case Pin24:
      return L"QX24RES.DLL;STDNAMES.GPD;unires.dll;QxSet.ini;QxSetUI.dll;QxSetUni.dll;";
    case Pin9:
      return L"stdnames.gpd;unires.dll;STDDTYPE.GDL;STDSCHEM.GDL;STDSCHMX.GDL;QXMPdll.ini;QX9res.dll;QXMPUI.dll;"
             L"QXMPUNI.dll;";
    case Pin9Basic:
      return L"stdnames.gpd;unires.dll;STDDTYPE.GDL;STDSCHEM.GDL;STDSCHMX.GDL;QX9res.dll;";
  }
  return {};
}

std::wstring PackageCopyList(PinFamily family, const std::wstring& dataFile) {
  return FamilyCopyList(family) + dataFile + L";";
}

std::wstring PackageProtectedList(PinFamily family, const std::wstring& dataFile) {
  return FamilyProtectedList(family) + dataFile + L";";
}

std::wstring PackageBranchBelowRoot(PinFamily family) { return BranchBelowRoot(family, IsNative64Bit()); }

std::wstring PackageBranchFolder(PinFamily family) { return GetPackageRootDirectory() + PackageBranchBelowRoot(family); }

bool ResolveDriverPackage(PinFamily family, const std::wstring& dataFile, DriverPackage& package) {
  package.pinFamily = family;
  if (!plat::GetPrinterDriverDirectoryW(kDriverDirectoryBytes, package.spoolerDriverFolder)) return false;
  package.packageRoot = PackageRoot();
  package.is64Bit = IsNative64Bit();
  const bool pin24 = family == Pin24;
  package.sourceFolder = package.packageRoot + L"\\" + BranchBelowRoot(family, package.is64Bit);
  package.destinationFolder = package.spoolerDriverFolder + L"\\";
  package.infFolder = package.sourceFolder;
  package.infPath = package.infFolder + (pin24 ? L"24Pin.inf" : L"9Pin.inf");
  package.copyList = PackageCopyList(family, dataFile);
  package.protectedList = PackageProtectedList(family, dataFile);
  package.dependentFiles = FamilyDependentFiles(family);
  return true;
}
