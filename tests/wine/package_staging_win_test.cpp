// The sample driver package staged into the prefix: its files into Wine's
// spooler driver folder, its INF into the INF store. The build puts the
// package tree beside wine_tests.exe, where the installer finds it beside itself.
#include <gtest/gtest.h>
#include <windows.h>
#include <setupapi.h>

#include "catalog/platform_probe.h"
#include "engine/package_staging.h"
#include "platform/inf_store.h"
#include "wine_support.h"

namespace {

std::wstring Branch24() { return wine::ExeFolder() + (wine::PrefixIs64Bit() ? L"24Pin\\X64\\" : L"24Pin\\i386\\"); }

// The name under which the INF store holds `inf`: asked to stage it again
// without overwriting, SetupAPI refuses and names its copy.
std::wstring StoredInfName(const std::wstring& inf, const std::wstring& folder) {
  wchar_t stored[MAX_PATH] = {};
  EXPECT_FALSE(SetupCopyOEMInfW(inf.c_str(), folder.c_str(), SPOST_PATH, SP_COPY_NOOVERWRITE, stored, MAX_PATH,
                                nullptr, nullptr));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_EXISTS));
  return stored;
}

TEST(PackageStagingWinTest, SampleInfGoesIntoTheInfStore) {
  const std::wstring inf = Branch24() + L"24Pin.inf";
  ASSERT_FALSE(wine::ReadAll(inf).empty());
  EXPECT_TRUE(plat::SetupCopyOEMInfW(inf, Branch24(), plat::kSpostPath, 0));
  std::wstring stored = StoredInfName(inf, Branch24());
  EXPECT_EQ(_wcsnicmp(stored.c_str(), L"C:\\windows\\inf\\", 15), 0) << stored;
  EXPECT_EQ(wine::ReadAll(stored), wine::ReadAll(inf));
}

TEST(PackageStagingWinTest, SamplePackageLandsInTheSpoolerDriverFolder) {
  wine::ErrorBoxRecorder boxes;
  ASSERT_EQ(IsNative64Bit(), wine::PrefixIs64Bit());
  EXPECT_TRUE(StageDriverPackage(Pin24, L"QX-630K.GPD"));
  const std::wstring drivers = wine::SpoolerDriverFolder() + L"\\";
  for (const wchar_t* name : {L"QX24RES.DLL", L"STDNAMES.GPD", L"unidrv.hlp", L"unidrvui.dll", L"unidrv.dll",
                              L"unires.dll", L"STDDTYPE.GDL", L"STDSCHEM.GDL", L"STDSCHMX.GDL", L"QxSet.ini",
                              L"QxSetUI.dll", L"QxSetUni.dll", L"QXLMON.dll", L"QX-630K.GPD"}) {
    std::string packaged = wine::ReadAll(Branch24() + name);
    EXPECT_FALSE(packaged.empty()) << name;
    EXPECT_EQ(wine::ReadAll(drivers + name), packaged) << name;
  }
  EXPECT_EQ(GetFileAttributesW((drivers + L"24Pin.inf").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(wine::ReadAll(StoredInfName(Branch24() + L"24Pin.inf", Branch24())),
            wine::ReadAll(Branch24() + L"24Pin.inf"));
  EXPECT_TRUE(wine::ErrorBoxRecorder::Boxes().empty());
}

TEST(PackageStagingWinTest, BranchFollowsTheNativeArchitecture) {
  // The sample branches hold the same files; a data file of each branch's own tells them apart.
  for (const wchar_t* arch : {L"i386", L"X64"})
    wine::WriteAll(wine::ExeFolder() + L"24Pin\\" + arch + L"\\QX-BRANCH.GPD", std::string(arch, arch + wcslen(arch)));
  const std::wstring staged = wine::SpoolerDriverFolder() + L"\\QX-BRANCH.GPD";
  DeleteFileW(staged.c_str());
  EXPECT_TRUE(StageDriverPackage(Pin24, L"QX-BRANCH.GPD"));
  EXPECT_EQ(wine::ReadAll(staged), wine::PrefixIs64Bit() ? "X64" : "i386");
  DeleteFileW(staged.c_str());
}

}  // namespace
