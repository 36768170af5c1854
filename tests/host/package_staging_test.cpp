// The driver package: which files of which branch reach the spooler's driver
// folder, the INF staging and its one repeat.
#include <gtest/gtest.h>

#include <set>

#include "engine/driver_package.h"
#include "engine/package_staging.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/kernel.h"
#include "platform/services.h"
#include "sample_package.h"
#include "sim_test.h"

namespace {

using Names = std::set<std::wstring>;
using Strings = std::vector<std::wstring>;

const std::wstring kDrivers = L"C:\\windows\\system32\\spool\\drivers\\x64";

// Every name of every family's lists, as the lists spell them.
const Names kAllListedNames = {
    L"QX24RES.DLL", L"STDNAMES.GPD", L"unidrv.hlp",   L"unidrvui.dll", L"unidrv.dll",  L"unires.dll",
    L"STDDTYPE.GDL", L"STDSCHEM.GDL", L"STDSCHMX.GDL", L"QxSet.ini",    L"QxSetUI.dll", L"QxSetUni.dll",
    L"QXLMON.dll",  L"QXMPUI.dll",   L"QXMPUNI.dll",  L"QXMPdll.ini",  L"QX9res.dll",  L"QXPrndll.ini",
    L"QXPrnUni.dll", L"QX-630K.GPD", L"QX-730K.GPD",  L"24Pin.inf",    L"9Pin.inf",    L"readme.txt"};

// Names that are only parts of listed names: never copied.
const Names kPartsOfListedNames = {L"drv.dll", L"RES.DLL", L"30K.GPD", L"unidrv", L"dll"};

class PackageStagingTest : public SimTest {
 protected:
  // A branch folder holding `names`, each file's content its own path.
  void AddBranch(const std::wstring& folder, const Names& names) {
    for (const std::wstring& n : names) M().fs.AddFile(folder + n, std::string(n.begin(), n.end()) + " in " + Narrow(folder));
  }
  static std::string Narrow(const std::wstring& w) { return std::string(w.begin(), w.end()); }
  Names Staged() {
    Strings list = M().fs.List(kDrivers);
    return Names(list.begin(), list.end());
  }
  bool CopyBranch(const std::wstring& folder, const std::wstring& dataFile, PinFamily family) {
    return CopyPackageFiles(folder, kDrivers + L"\\", dataFile, family);
  }
};

TEST_F(PackageStagingTest, EachFamilyCopiesItsCopyListAndTheDataFile) {
  const std::vector<std::pair<PinFamily, Names>> expected = {
      {Pin24,
       {L"QX24RES.DLL", L"STDNAMES.GPD", L"unidrv.hlp", L"unidrvui.dll", L"unidrv.dll", L"unires.dll",
        L"STDDTYPE.GDL", L"STDSCHEM.GDL", L"STDSCHMX.GDL", L"QxSet.ini", L"QxSetUI.dll", L"QxSetUni.dll",
        L"QXLMON.dll", L"QX-630K.GPD"}},
      // "QXPrndll.ini" and "QXPrnUni.dll" stand in the protected list only: never copied.
      {Pin9,
       {L"unidrv.hlp", L"unidrvui.dll", L"unidrv.dll", L"unires.dll", L"STDNAMES.GPD", L"STDDTYPE.GDL",
        L"STDSCHEM.GDL", L"STDSCHMX.GDL", L"QXMPUI.dll", L"QXMPUNI.dll", L"QXMPdll.ini", L"QX9res.dll",
        L"QX-630K.GPD"}},
      {Pin9Basic,
       {L"unidrv.hlp", L"unidrvui.dll", L"unidrv.dll", L"unires.dll", L"STDNAMES.GPD", L"STDDTYPE.GDL",
        L"STDSCHEM.GDL", L"STDSCHMX.GDL", L"QX9res.dll", L"QX-630K.GPD"}},
      {static_cast<PinFamily>(7), {L"QX-630K.GPD"}},
  };
  AddBranch(L"C:\\Setup\\24Pin\\X64\\", kAllListedNames);
  AddBranch(L"C:\\Setup\\24Pin\\X64\\", kPartsOfListedNames);
  for (const auto& [family, names] : expected) {
    M().fs.Remove(kDrivers);
    M().fs.AddDirectory(kDrivers);
    EXPECT_TRUE(CopyBranch(L"C:\\Setup\\24Pin\\X64\\", L"QX-630K.GPD", family)) << family;
    EXPECT_EQ(Staged(), names) << family;
  }
}

TEST_F(PackageStagingTest, WholeNamesMatchInAnyCaseAnywhereInTheTree) {
  AddBranch(L"C:\\Pkg\\", {L"UNIDRV.HLP", L"drv.dll", L"notlisted.dll"});
  AddBranch(L"C:\\Pkg\\Sub\\Deeper\\", {L"Qx24Res.Dll"});
  M().fs.AddFile(L"C:\\Pkg\\unires.dll", "h", plat::kFileAttributeHidden | plat::kFileAttributeSystem);
  EXPECT_TRUE(CopyBranch(L"C:\\Pkg\\", L"QX-630K.GPD", Pin24));
  // Flat, with the package's letter case; "drv.dll" is only part of "unidrv.dll".
  EXPECT_EQ(Staged(), (Names{L"UNIDRV.HLP", L"Qx24Res.Dll", L"unires.dll"}));
}

// A junction back up the tree would make the walk endless; one leading out
// of the package would copy files that are not the package's.
TEST_F(PackageStagingTest, JunctionsAndLinksInThePackageAreNotFollowed) {
  AddBranch(L"C:\\Pkg\\", {L"QX24RES.DLL"});
  M().fs.AddJunction(L"C:\\Pkg\\Sub\\loop", L"C:\\Pkg");
  AddBranch(L"C:\\Elsewhere\\", {L"unires.dll"});
  M().fs.AddJunction(L"C:\\Pkg\\outside", L"C:\\Elsewhere");
  ASSERT_TRUE(M().fs.Exists(L"C:\\Pkg\\Sub\\loop\\Sub\\loop\\QX24RES.DLL"));
  EXPECT_TRUE(CopyBranch(L"C:\\Pkg\\", L"QX-630K.GPD", Pin24));
  EXPECT_EQ(Staged(), (Names{L"QX24RES.DLL"}));
  EXPECT_EQ(M().transcript.Count("FindFirstFileW"), 2u);  // the package and its sub-folder
}

TEST_F(PackageStagingTest, OnlyProtectedFilesReplaceWhatIsThere) {
  AddBranch(L"C:\\Pkg\\", {L"unidrv.dll", L"QX24RES.DLL"});
  M().fs.AddFile(kDrivers + L"\\unidrv.dll", "old unidrv");
  M().fs.AddFile(kDrivers + L"\\QX24RES.DLL", "old resource");
  EXPECT_TRUE(CopyBranch(L"C:\\Pkg\\", L"QX-630K.GPD", Pin24));
  EXPECT_EQ(M().fs.Contents(kDrivers + L"\\unidrv.dll"), "old unidrv");
  EXPECT_EQ(M().fs.Contents(kDrivers + L"\\QX24RES.DLL"), "QX24RES.DLL in C:\\Pkg\\");
  // The spooler held the old resource: it was replaced with the spooler stopped.
  EXPECT_EQ(M().transcript.Count("ControlService"), 1u);
  EXPECT_EQ(M().services.State(L"Spooler"), plat::kServiceRunning);
}

TEST_F(PackageStagingTest, AnyFailedProtectedCopyFailsTheWholeCopy) {
  AddBranch(L"C:\\Pkg\\", {L"QX24RES.DLL", L"QxSet.ini"});
  M().fs.SetEnumerationOrder(L"C:\\Pkg", {L"QX24RES.DLL", L"QxSet.ini"});
  M().fs.AddFile(kDrivers + L"\\QX24RES.DLL", "old");
  plat::FileHandle holder(
      plat::CreateFileW(kDrivers + L"\\QX24RES.DLL", plat::kGenericRead, plat::kFileShareRead, plat::kOpenExisting));
  EXPECT_FALSE(CopyBranch(L"C:\\Pkg\\", L"QX-630K.GPD", Pin24));  // a later protected copy worked
  EXPECT_EQ(Staged(), (Names{L"QX24RES.DLL", L"QxSet.ini"}));
  EXPECT_EQ(ErrorBoxes(), (Strings{L"2"}));
}

TEST_F(PackageStagingTest, AFinishedCopyIsNotUndoneByAnEmptySubFolderLast) {
  AddBranch(L"C:\\Pkg\\", {L"QX24RES.DLL"});
  AddBranch(L"C:\\Pkg\\docs\\", {L"readme.txt"});
  M().fs.AddDirectory(L"C:\\Pkg\\empty");
  M().fs.SetEnumerationOrder(L"C:\\Pkg", {L"QX24RES.DLL", L"docs", L"empty"});
  EXPECT_TRUE(CopyBranch(L"C:\\Pkg\\", L"QX-630K.GPD", Pin24));
}

TEST_F(PackageStagingTest, BranchWithoutProtectedFilesFailsAndStagesNothing) {
  AddBranch(L"C:\\Setup\\24Pin\\X64\\", {L"unidrv.dll", L"STDNAMES.GPD", L"24Pin.inf"});
  EXPECT_FALSE(CopyBranch(L"C:\\Setup\\24Pin\\X64\\", L"QX-630K.GPD", Pin24));
  EXPECT_EQ(Staged(), (Names{L"unidrv.dll", L"STDNAMES.GPD"}));
  EXPECT_TRUE(ErrorBoxes().empty());
  // Staging finds such a branch incomplete before it copies anything.
  EXPECT_FALSE(StageDriverPackage(Pin24, L"QX-630K.GPD"));
  EXPECT_EQ(M().transcript.Count("SetupCopyOEMInfW"), 0u);
  EXPECT_EQ(ErrorBoxes(), (Strings{L"2"}));
}

class StageDriverPackageTest : public PackageStagingTest {
 protected:
  void SetUp() override {
    PackageStagingTest::SetUp();
    for (const wchar_t* branch : {L"24Pin\\X64\\", L"24Pin\\i386\\"})
      AddBranch(std::wstring(L"C:\\Setup\\") + branch, ListedFiles(Pin24, L"QX-630K.GPD", L"24Pin.inf"));
    for (const wchar_t* branch : {L"9Pin\\X64\\", L"9Pin\\i386\\"})
      AddBranch(std::wstring(L"C:\\Setup\\") + branch, ListedFiles(Pin9Basic, L"QX-300.GPD", L"9Pin.inf"));
    for (const wchar_t* branch : {L"24Pin\\X64\\", L"24Pin\\i386\\", L"9Pin\\X64\\", L"9Pin\\i386\\"})
      for (const std::wstring& name : M().fs.List(std::wstring(L"C:\\Setup\\") + branch))
        if (name.ends_with(L".dll") || name.ends_with(L".DLL")) M().fs.AddFile(std::wstring(L"C:\\Setup\\") + branch + name, SampleFile(std::wstring(L"\\") + branch, name));
  }

  // Every file of the family's copy list with the data file, and the INF.
  static Names ListedFiles(PinFamily family, const std::wstring& dataFile, const std::wstring& inf) {
    Names names{inf};
    const std::wstring list = PackageCopyList(family, dataFile);
    for (size_t start = 0, end; (end = list.find(L';', start)) != std::wstring::npos; start = end + 1)
      names.insert(list.substr(start, end - start));
    return names;
  }
};

TEST_F(StageDriverPackageTest, ABranchLackingAListedFileCopiesNothingAndShowsBoxTwo) {
  M().fs.Remove(L"C:\\Setup\\24Pin\\X64\\QxSetUni.dll");
  M().fs.AddFile(kDrivers + L"\\QxSetUni.dll", "from an older install");
  EXPECT_FALSE(StageDriverPackage(Pin24, L"QX-630K.GPD"));
  EXPECT_EQ(ErrorBoxes(), (Strings{L"2"}));
  EXPECT_EQ(M().transcript.Count("CopyFileW"), 0u);
  EXPECT_TRUE(M().infStore.staged.empty());
  ASSERT_EQ(LogMessages().size(), 1u);
  EXPECT_NE(LogMessages()[0].find(L"QxSetUni.dll"), std::wstring::npos);

  // The data file is listed too; the whole branch missing is the same report.
  M().fs.AddFile(L"C:\\Setup\\24Pin\\X64\\QxSetUni.dll", "back");
  EXPECT_FALSE(StageDriverPackage(Pin24, L"QX-999.GPD"));
  M().kernel.nativeArchitecture = plat::kProcessorArchitectureIntel;
  EXPECT_FALSE(StageDriverPackage(Pin9, L"QX-300.GPD"));  // the 9-pin branch holds the basic list only
  EXPECT_EQ(ErrorBoxes(), (Strings{L"2", L"2", L"2"}));
}

TEST_F(StageDriverPackageTest, BranchFollowsFamilyAndNativeArchitecture) {
  EXPECT_TRUE(StageDriverPackage(Pin24, L"QX-630K.GPD"));
  EXPECT_EQ(M().fs.Contents(kDrivers + L"\\QX-630K.GPD"), "QX-630K.GPD in C:\\Setup\\24Pin\\X64\\");
  ASSERT_EQ(M().infStore.staged.size(), 1u);
  const sim::InfStore::Entry& inf = M().infStore.staged[0];
  EXPECT_EQ(inf.sourceInf, L"C:\\Setup\\24Pin\\X64\\24Pin.inf");
  EXPECT_EQ(inf.mediaLocation, L"C:\\Setup\\24Pin\\X64\\");
  EXPECT_EQ(inf.mediaType, 1u);
  EXPECT_EQ(inf.copyStyle, 0u);

  M().kernel.nativeArchitecture = plat::kProcessorArchitectureIntel;
  EXPECT_TRUE(StageDriverPackage(Pin9Basic, L"QX-300.GPD"));
  EXPECT_EQ(M().fs.Contents(kDrivers + L"\\QX-300.GPD"), "QX-300.GPD in C:\\Setup\\9Pin\\i386\\");
  EXPECT_EQ(M().infStore.staged.back().sourceInf, L"C:\\Setup\\9Pin\\i386\\9Pin.inf");
  EXPECT_TRUE(ErrorBoxes().empty());
}

TEST_F(StageDriverPackageTest, NotFoundIsTriedOnceMoreAndAnyOtherErrorNot) {
  M().faults.Fail("SetupCopyOEMInfW", plat::kErrorNotFound);
  EXPECT_TRUE(StageDriverPackage(Pin24, L"QX-630K.GPD"));
  EXPECT_EQ(M().transcript.Count("SetupCopyOEMInfW"), 2u);
  EXPECT_TRUE(ErrorBoxes().empty());

  M().transcript.Clear();
  M().faults.Fail("SetupCopyOEMInfW", plat::kErrorNotFound, 1, 2);
  EXPECT_FALSE(StageDriverPackage(Pin24, L"QX-630K.GPD"));
  EXPECT_EQ(M().transcript.Count("SetupCopyOEMInfW"), 2u);
  EXPECT_EQ(plat::GetLastError(), plat::kErrorNotFound);

  M().transcript.Clear();
  M().faults.Fail("SetupCopyOEMInfW", plat::kErrorGeneralSyntax);
  EXPECT_FALSE(StageDriverPackage(Pin24, L"QX-630K.GPD"));
  EXPECT_EQ(M().transcript.Count("SetupCopyOEMInfW"), 1u);
  EXPECT_EQ(plat::GetLastError(), plat::kErrorGeneralSyntax);  // kept across the error box
  EXPECT_EQ(ErrorBoxes(), (Strings{L"3", L"3"}));
}

TEST_F(StageDriverPackageTest, NoDriverDirectoryShowsBoxSevenAndCopiesNothing) {
  M().faults.Fail("GetPrinterDriverDirectoryW", 1722);  // RPC_S_SERVER_UNAVAILABLE
  EXPECT_FALSE(StageDriverPackage(Pin24, L"QX-630K.GPD"));
  EXPECT_EQ(M().transcript.Count("CopyFileW"), 0u);
  EXPECT_EQ(ErrorBoxes(), (Strings{L"7"}));
  EXPECT_EQ(LogMessages().size(), 1u);
}

// A library the spooler could not load is found before anything is written:
// the other architecture's, one that is no image, a monitor without its
// entry point.
TEST_F(StageDriverPackageTest, ForeignLibrariesAreRefusedBeforeAnythingIsWritten) {
  const std::wstring branch = L"C:\\Setup\\24Pin\\X64\\";
  const struct {
    const wchar_t* name;
    std::string bytes;
  } cases[] = {
      {L"unidrv.dll", SampleFile(L"\\i386\\", L"unidrv.dll")},
      {L"QxSetUI.dll", "MZ but nothing more"},
      {L"QXLMON.dll", SampleFile(branch, L"other.dll")},
      {L"QXLMON.dll", SampleFile(L"\\i386\\", L"QXLMON.dll")},
  };
  for (const auto& c : cases) {
    const std::string good = M().fs.Contents(branch + c.name);
    M().fs.AddFile(branch + c.name, c.bytes);
    ErrorBoxes().clear();
    EXPECT_FALSE(StageDriverPackage(Pin24, L"QX-630K.GPD")) << c.name;
    EXPECT_EQ(ErrorBoxes(), (Strings{L"9"})) << c.name;
    EXPECT_TRUE(M().fs.List(kDrivers).empty()) << c.name;
    EXPECT_TRUE(M().infStore.staged.empty());
    M().fs.AddFile(branch + c.name, good);
  }
  EXPECT_TRUE(StageDriverPackage(Pin24, L"QX-630K.GPD"));
}

}  // namespace
