// The installer end to end: QuillexSetup.exe started from a copy of dist/
// and driven through its windows as a user would, against the prefix's real
// spooler.
#include <gtest/gtest.h>
#include <windows.h>
#include <msi.h>
#include <msiquery.h>
#include <winspool.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "catalog/platform_probe.h"
#include "engine/driver_registration.h"
#include "engine/pe_image.h"
#include "engine/protected_print.h"
#include "report/app_title.h"
#include "res/resource.h"
#include "setup_process.h"
#include "ui/dpi_scale.h"
#include "ui/page_layout.h"
#include "ui/wizard_flow.h"
#include "ui_capture.h"
#include "wine_support.h"

namespace {

using wine::Click;
using wine::SetupProcess;

const std::wstring kModel = L"QX-630K";
const std::wstring kPrinter = L"Quillex QX-630K";
const std::wstring kCopy = L"Quillex QX-630K (副本 1)";
// The administrator's program of the build: the 32-bit build ships
// QuillexInstall.exe, the 64-bit test build only its QuillexInstall64.exe.
const wchar_t* const kInstallProgram = sizeof(void*) == 8 ? L"QuillexInstall64.exe" : L"QuillexInstall.exe";

bool IsWizard(HWND window) { return wine::WindowText(window) == kAppTitle && wine::HasChild(window, IDC_MODEL_LIST); }

bool PrinterExists(const std::wstring& name) {
  std::vector<BYTE> storage;
  for (const PRINTER_INFO_2W& p : wine::EnumLocalPrinters(storage))
    if (name == p.pPrinterName) return true;
  return false;
}

// The monitor's DLL lies in the driver folder of the machine's own
// architecture and is built for it.
bool MonitorInNativeDriverFolder() {
  const bool native64 = IsNative64Bit();
  wchar_t folder[MAX_PATH] = {};
  DWORD needed = 0;
  if (!GetPrinterDriverDirectoryW(nullptr, const_cast<LPWSTR>(native64 ? L"Windows x64" : L"Windows NT x86"), 1,
                                  reinterpret_cast<BYTE*>(folder), sizeof folder, &needed))
    return false;
  PeImage image;
  if (!ReadPeImage(std::wstring(folder) + L"\\" + kLanguageMonitorDll, image)) return false;
  return native64 ? IsX64Image(image) : IsX86Image(image);
}

// The driver in the machine's own environment, where the install program registers it.
bool DriverInstalled(const std::wstring& name) {
  LPWSTR environment = const_cast<LPWSTR>(IsNative64Bit() ? L"Windows x64" : L"Windows NT x86");
  DWORD needed = 0, count = 0;
  EnumPrinterDriversW(nullptr, environment, 1, nullptr, 0, &needed, &count);
  std::vector<BYTE> storage(needed + 1, 0);
  if (!EnumPrinterDriversW(nullptr, environment, 1, storage.data(), needed, &needed, &count)) return false;
  auto* drivers = reinterpret_cast<DRIVER_INFO_1W*>(storage.data());
  for (DWORD i = 0; i < count; ++i)
    if (name == drivers[i].pName) return true;
  return false;
}

// Printers of another maker for the test's lifetime, on a driver of its own
// made of the package's Unidrv files under other names: one printer with a
// name of our form. Wine's AddPrinterW loads the driver's configuration
// module from the spooler's version folder, so the files go in by way of the
// driver folder, as the install program's do.
class ForeignPrinters {
 public:
  static constexpr const wchar_t* kDriver = L"Acme Impact Driver";
  static constexpr const wchar_t* kNames[] = {L"Acme LQ-300", L"Quillex QX-630K (副本 9)"};

  explicit ForeignPrinters(const std::filesystem::path& package) {
    const std::filesystem::path branch = package / L"24Pin" / (sizeof(void*) == 8 ? L"X64" : L"i386");
    wchar_t folder[MAX_PATH] = {};
    DWORD needed = 0;
    GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(folder), sizeof folder, &needed);
    std::wstring files[3];
    const wchar_t* const kFrom[][2] = {{L"unidrv.dll", L"acmedrv.dll"}, {L"QX-630K.GPD", L"acmelq.gpd"},
                                       {L"unidrvui.dll", L"acmeui.dll"}};
    for (int i = 0; i < 3; ++i) {
      files[i] = std::wstring(folder) + L"\\" + kFrom[i][1];
      m_strFailure += CopyFileW((branch / kFrom[i][0]).c_str(), files[i].c_str(), FALSE) ? L"" : L" CopyFileW";
    }
    std::wstring& driverPath = files[0];
    std::wstring& data = files[1];
    std::wstring& config = files[2];
    DRIVER_INFO_3W driver{};
    driver.cVersion = 3;
    driver.pName = const_cast<LPWSTR>(kDriver);
    driver.pDriverPath = driverPath.data();
    driver.pDataFile = data.data();
    driver.pConfigFile = config.data();
    driver.pDefaultDataType = const_cast<LPWSTR>(L"RAW");
    m_bAdded = m_strFailure.empty() && AddPrinterDriverW(nullptr, 3, reinterpret_cast<BYTE*>(&driver));
    if (!m_bAdded) m_strFailure = L"AddPrinterDriverW " + std::to_wstring(GetLastError());
    for (const wchar_t* name : kNames) {
      PRINTER_INFO_2W printer{};
      printer.pPrinterName = const_cast<LPWSTR>(name);
      printer.pPortName = const_cast<LPWSTR>(L"LPT1:");
      printer.pDatatype = const_cast<LPWSTR>(L"RAW");
      printer.pDriverName = const_cast<LPWSTR>(kDriver);
      printer.pPrintProcessor = const_cast<LPWSTR>(L"winprint");
      printer.Attributes = PRINTER_ATTRIBUTE_LOCAL;
      HANDLE h = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&printer));
      m_bAdded = m_bAdded && h;
      if (!h) m_strFailure += L" AddPrinterW " + std::to_wstring(GetLastError());
      if (h) ClosePrinter(h);
    }
  }
  ~ForeignPrinters() {
    for (const wchar_t* name : kNames) wine::DeletePrinterNamed(name);
    DeletePrinterDriverW(nullptr, nullptr, const_cast<LPWSTR>(kDriver));
  }
  bool Added() const { return m_bAdded; }
  const std::wstring& Failure() const { return m_strFailure; }
  bool AllThere() const {
    for (const wchar_t* name : kNames)
      if (!PrinterExists(name)) return false;
    return true;
  }

 private:
  bool m_bAdded = false;
  std::wstring m_strFailure;
};

// Whether the INF store holds a copy of the package's INF for this Windows:
// Windows names it oemN.inf, Wine 8 keeps the INF's own name.
bool PackageInfStaged(const std::filesystem::path& package) {
  const std::string inf = wine::ReadAll((package / L"24Pin" / (IsNative64Bit() ? L"X64" : L"i386") / L"24Pin.inf").wstring());
  wchar_t windows[MAX_PATH] = {};
  GetWindowsDirectoryW(windows, MAX_PATH);
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(windows) / L"inf", error)) {
    if (entry.path().extension() == L".inf" && wine::ReadAll(entry.path().wstring()) == inf) return true;
  }
  return false;
}

size_t PrinterCount() {
  std::vector<BYTE> storage;
  return wine::EnumLocalPrinters(storage).size();
}

// The product as Windows Installer knows it: its upgrade code, fixed for the
// product's lifetime (scripts/make-msi.py).
const wchar_t kUpgradeCode[] = L"{6B0D9C52-3E5A-4F0B-9A51-2C7E1D4F8A30}";

std::vector<std::wstring> InstalledProducts() {
  std::vector<std::wstring> products;
  wchar_t code[39] = {};
  for (DWORD i = 0; MsiEnumRelatedProductsW(kUpgradeCode, 0, i, code) == ERROR_SUCCESS; ++i) products.push_back(code);
  return products;
}

std::wstring InstalledVersion(const std::wstring& product) {
  wchar_t version[64] = {};
  DWORD size = 64;
  MsiGetProductInfoW(product.c_str(), INSTALLPROPERTY_VERSIONSTRING, version, &size);
  return version;
}

DWORD Msiexec(const std::wstring& arguments, std::wstring& output) {
  wchar_t system[MAX_PATH] = {};
  GetSystemDirectoryW(system, MAX_PATH);
  return wine::RunConsoleProgram(system, L"msiexec.exe", arguments, output);
}

// The printer's level-2 record, read by name; false when there is none.
bool ReadPrinter(const std::wstring& name, std::vector<BYTE>& storage, PRINTER_INFO_2W*& info) {
  for (PRINTER_INFO_2W& p : wine::EnumLocalPrinters(storage))
    if (name == p.pPrinterName) return (info = &p), true;
  return false;
}

// Whether a log holds `text`: Windows writes UTF-16 with a byte-order mark,
// Wine the ANSI code page, as the install log.
bool LogHolds(const std::wstring& path, const std::wstring& text) {
  const std::string bytes = wine::ReadAll(path);
  if (bytes.rfind("\xFF\xFE", 0) == 0)
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2).find(text) !=
           std::wstring::npos;
  const int size = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string ansi(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, ansi.data(), size, nullptr, nullptr);
  ansi.pop_back();
  return bytes.find(ansi) != std::string::npos;
}

// The first column of the first row `query` gives in the MSI `package`.
std::wstring QueryMsi(const std::wstring& package, const std::wstring& query) {
  PMSIHANDLE database, view, record;
  if (MsiOpenDatabaseW(package.c_str(), MSIDBOPEN_READONLY, &database) != ERROR_SUCCESS ||
      MsiDatabaseOpenViewW(database, query.c_str(), &view) != ERROR_SUCCESS || MsiViewExecute(view, 0) != ERROR_SUCCESS ||
      MsiViewFetch(view, &record) != ERROR_SUCCESS)
    return L"";
  wchar_t text[512] = {};
  DWORD size = 512;
  MsiRecordGetStringW(record, 1, text, &size);
  return text;
}

std::wstring MsiTemplate(const std::wstring& package) {
  PMSIHANDLE summary;
  wchar_t text[64] = {};
  DWORD size = 64;
  UINT type = 0;
  INT number = 0;
  FILETIME time{};
  if (MsiGetSummaryInformationW(0, package.c_str(), 0, &summary) == ERROR_SUCCESS)
    MsiSummaryInfoGetPropertyW(summary, PIDSI_TEMPLATE, &type, &number, &time, text, &size);
  return text;
}

// A setting of the user's own on the printer: its comment.
bool SetComment(const std::wstring& name, const std::wstring& comment) {
  PRINTER_DEFAULTSW all{nullptr, nullptr, PRINTER_ALL_ACCESS};
  HANDLE printer = nullptr;
  if (!OpenPrinterW(const_cast<LPWSTR>(name.c_str()), &printer, &all)) return false;
  DWORD needed = 0;
  GetPrinterW(printer, 2, nullptr, 0, &needed);
  std::vector<BYTE> storage(needed + 1);
  auto* info = reinterpret_cast<PRINTER_INFO_2W*>(storage.data());
  bool set = GetPrinterW(printer, 2, storage.data(), needed, &needed);
  if (set) {
    info->pComment = const_cast<LPWSTR>(comment.c_str());
    info->pSecurityDescriptor = nullptr;
    set = SetPrinterW(printer, 2, storage.data(), 0);
  }
  ClosePrinter(printer);
  return set;
}

class WizardE2eWinTest : public ::testing::Test {
 protected:
  // A fresh copy of dist/ per test, which the test may spoil.
  void SetUp() override {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    m_folder = std::filesystem::path(temp) / L"qx_wizard_e2e";
    std::filesystem::remove_all(m_folder);
    std::filesystem::copy(wine::DistFolder(), m_folder, std::filesystem::copy_options::recursive);
    wine::DeletePrinterNamed(kCopy);
    wine::DeletePrinterNamed(kPrinter);
  }

  std::wstring Folder() const { return m_folder.wstring(); }

  // The readme closed; the wizard on its model page.
  HWND PassReadme(const SetupProcess& setup) {
    HWND readme = setup.WaitForWindow(wine::DialogWithChild(IDC_EXPLAIN_CLOSE));
    if (!readme) return nullptr;
    EXPECT_EQ(wine::WindowText(readme), L"USB驱动安装说明");
    Click(readme, IDC_EXPLAIN_CLOSE);
    HWND wizard = setup.WaitForWindow(IsWizard);
    if (wizard) {
      EXPECT_TRUE(wine::WaitUntil([&] { return wine::ChildVisible(wizard, IDC_MODEL_LIST); }));
    }
    return wizard;
  }

  // Next on the model page: the port page, with the hint that no USB port was found.
  void ToPortPage(const SetupProcess& setup, HWND wizard) {
    Click(wizard, IDC_NEXT);
    std::wstring hint;
    HWND box = setup.WaitForWindow(wine::MessageBoxCaptioned(L"安装提示", &hint));
    ASSERT_NE(box, nullptr);
    EXPECT_NE(hint.find(L"没有检测到与打印机连接的USB端口"), std::wstring::npos);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(wine::WaitUntil([&] { return wine::ChildVisible(wizard, IDC_PORT_LIST); }));
  }

  // Model, port: the confirmation page.
  void ToConfirmPage(const SetupProcess& setup, HWND wizard) {
    ASSERT_TRUE(wine::SelectRow(wizard, IDC_MODEL_LIST, kPrinter));
    ToPortPage(setup, wizard);
    ASSERT_TRUE(wine::SelectRow(wizard, IDC_PORT_LIST, L"LPT1:"));
    Click(wizard, IDC_NEXT);
    ASSERT_TRUE(wine::WaitUntil([&] { return wine::ChildVisible(wizard, IDC_FINISH); }));
  }

  // Model, port, Finish: the install page.
  void StartInstall(const SetupProcess& setup, HWND wizard) {
    ToConfirmPage(setup, wizard);
    Click(wizard, IDC_FINISH);
    ASSERT_TRUE(wine::WaitUntil([&] { return wine::ChildVisible(wizard, IDC_PROGRESS); }));
  }

  // A whole installation; the success box dismissed, the process ended.
  void InstallOnce() {
    SetupProcess setup(Folder());
    ASSERT_TRUE(setup.Started());
    HWND wizard = PassReadme(setup);
    ASSERT_NE(wizard, nullptr);
    StartInstall(setup, wizard);
    HWND success = setup.WaitForWindow(wine::MessageBoxCaptioned(L"Tovanta"), 120000);
    ASSERT_NE(success, nullptr);
    PostMessageW(success, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(setup.WaitForExit());
  }

  // An installation that ends on error box `code`, closed; no success box.
  void InstallEndsOnBox(const std::wstring& code) {
    SetupProcess setup(Folder());
    HWND wizard = PassReadme(setup);
    ASSERT_NE(wizard, nullptr);
    StartInstall(setup, wizard);
    HWND box = setup.WaitForWindow(wine::DialogWithChild(IDC_MESERROR_OK), 120000);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(wine::WindowText(box), L"安装失败：" + code);
    Click(box, IDC_MESERROR_OK);
    EXPECT_TRUE(setup.WaitForExit());
    EXPECT_EQ(setup.FindWindowOf(wine::MessageBoxCaptioned(L"Tovanta")), nullptr);
  }

  std::filesystem::path m_folder;
};

TEST_F(WizardE2eWinTest, InstallsThePrinterThenACopy) {
  InstallOnce();
  std::vector<BYTE> storage;
  bool found = false;
  for (const PRINTER_INFO_2W& p : wine::EnumLocalPrinters(storage)) {
    if (kPrinter != p.pPrinterName) continue;
    found = true;
    EXPECT_STREQ(p.pPortName, L"LPT1:");
    EXPECT_STREQ(p.pDriverName, kPrinter.c_str());
  }
  EXPECT_TRUE(found);
  EXPECT_TRUE(wine::MonitorInstalled(kLanguageMonitorName));
  // The driver and the monitor's DLL of the machine's own architecture: on
  // 64-bit Windows the 32-bit wizard's road runs through QuillexInstall64.exe.
  EXPECT_TRUE(DriverInstalled(kPrinter));
  EXPECT_TRUE(MonitorInNativeDriverFolder());

  InstallOnce();
  EXPECT_TRUE(PrinterExists(kCopy));
}

// From the install page until the worker reports, closing is refused: while
// the success box is up the worker is still inside its report.
TEST_F(WizardE2eWinTest, ClosingDuringTheInstallIsRefused) {
  SetupProcess setup(Folder());
  HWND wizard = PassReadme(setup);
  ASSERT_NE(wizard, nullptr);
  StartInstall(setup, wizard);
  SendMessageTimeoutW(wizard, WM_CLOSE, 0, 0, SMTO_NORMAL, 5000, nullptr);
  PostMessageW(wizard, WM_SYSCOMMAND, SC_CLOSE, 0);
  HWND success = setup.WaitForWindow(wine::MessageBoxCaptioned(L"Tovanta"), 120000);
  ASSERT_NE(success, nullptr);
  EXPECT_TRUE(IsWindow(wizard));
  EXPECT_TRUE(GetMenuState(GetSystemMenu(wizard, FALSE), SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED);
  SendMessageTimeoutW(wizard, WM_CLOSE, 0, 0, SMTO_NORMAL, 5000, nullptr);
  EXPECT_TRUE(IsWindow(wizard));
  PostMessageW(success, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(setup.WaitForExit());
  EXPECT_TRUE(PrinterExists(kPrinter));
}

// Alt+B on the model page, Esc and Enter do nothing; Alt+N steps on, and
// Back runs detection again (the model rows come from the file anew); Cancel
// and "是" end the wizard with no printer.
TEST_F(WizardE2eWinTest, KeysBackAndCancel) {
  const size_t printers = PrinterCount();
  SetupProcess setup(Folder());
  HWND wizard = PassReadme(setup);
  ASSERT_NE(wizard, nullptr);
  ASSERT_EQ(wine::RowCount(wizard, IDC_MODEL_LIST), 2);

  wine::PostKey(wizard, 'B', true);
  wine::PostKey(wizard, VK_ESCAPE, false);
  wine::PostKey(wizard, VK_RETURN, false);
  wine::PostKey(wizard, 'N', true);  // after the others: the page it reaches shows they did nothing
  std::wstring hint;
  HWND box = setup.WaitForWindow(wine::MessageBoxCaptioned(L"安装提示", &hint));
  ASSERT_NE(box, nullptr);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(wine::WaitUntil([&] { return wine::ChildVisible(wizard, IDC_PORT_LIST); }));
  EXPECT_FALSE(wine::ChildVisible(wizard, IDC_FINISH));

  wine::WriteAll(Folder() + L"\\PrinterInfo.ini", "[82\xC1\xD0\xC6\xB1\xBE\xDD\xB4\xF2\xD3\xA1\xBB\xFA]\r\nCounts=1\r\n0=QX-730K\r\n");
  Click(wizard, IDC_BACK);
  ASSERT_TRUE(wine::WaitUntil([&] { return wine::ChildVisible(wizard, IDC_MODEL_LIST); }));
  ASSERT_EQ(wine::RowCount(wizard, IDC_MODEL_LIST), 1);
  EXPECT_EQ(wine::RowText(wizard, IDC_MODEL_LIST, 0), L"Quillex QX-730K");

  Click(wizard, IDC_CANCEL);
  HWND question = setup.WaitForWindow(wine::DialogWithChild(IDC_ISCLOSE_YES));
  ASSERT_NE(question, nullptr);
  Click(question, IDC_ISCLOSE_YES);
  EXPECT_TRUE(setup.WaitForExit());
  EXPECT_EQ(PrinterCount(), printers);
}

// The administrator's program: an install and a copy, whatever the prefix's
// architecture (the 32-bit one forwards to QuillexInstall64.exe on 64-bit
// Windows), the monitor then in the native driver folder.
TEST_F(WizardE2eWinTest, InstallProgramInstallsThenACopy) {
  std::wstring output;
  EXPECT_EQ(wine::RunConsoleProgram(Folder(), kInstallProgram, L"/install /model QX-630K /port LPT1:", output), 0u);
  EXPECT_NE(output.find(L"创建打印机，端口：LPT1:"), std::wstring::npos) << output;
  EXPECT_NE(output.find(L"驱动安装成功"), std::wstring::npos) << output;
  EXPECT_TRUE(PrinterExists(kPrinter));
  EXPECT_TRUE(wine::MonitorInstalled(kLanguageMonitorName));
  EXPECT_TRUE(MonitorInNativeDriverFolder());
  EXPECT_EQ(wine::RunConsoleProgram(Folder(), kInstallProgram, L"-install -model qx-630k -port LPT1:", output), 0u);
  EXPECT_TRUE(PrinterExists(kCopy));
}

// Two installations, then the removal of all of ours: both queues, their
// drivers and the monitor go (the 32-bit program on 64-bit Windows forwards,
// since only a 64-bit process can unload the 64-bit monitor under Wine).
TEST_F(WizardE2eWinTest, UninstallAfterTwoInstallsRemovesBothQueuesTheirDriversAndTheMonitor) {
  std::wstring output;
  // From a machine without the monitor the first installation adds it at once.
  ASSERT_EQ(wine::RunConsoleProgram(Folder(), kInstallProgram, L"/uninstall /all", output), 0u) << output;
  ASSERT_EQ(wine::RunConsoleProgram(Folder(), kInstallProgram, L"/install /model QX-630K /port LPT1:", output), 0u);
  ASSERT_EQ(wine::RunConsoleProgram(Folder(), kInstallProgram, L"/install /model QX-630K /port LPT1:", output), 0u);
  ASSERT_TRUE(PrinterExists(kCopy));
  EXPECT_TRUE(PackageInfStaged(m_folder));
  EXPECT_EQ(wine::RunConsoleProgram(Folder(), kInstallProgram, L"/uninstall /all", output), 0u) << output;
  // The store named the staged copy and was asked to remove it; Wine 8's
  // SetupUninstallOEMInfW deletes only when forced ("not deleting"), so the
  // copy stays here, where Windows removes it.
  EXPECT_NE(output.find(L"卸载 INF 文件："), std::wstring::npos) << output;
  EXPECT_NE(output.find(L"删除打印机：" + kCopy), std::wstring::npos) << output;
  EXPECT_NE(output.find(L"驱动卸载成功"), std::wstring::npos) << output;
  for (const std::wstring& name : {kPrinter, kCopy}) {
    EXPECT_FALSE(PrinterExists(name)) << name;
    EXPECT_FALSE(DriverInstalled(name)) << name;
  }
  EXPECT_FALSE(wine::MonitorInstalled(kLanguageMonitorName));
}

// The MSI as a deployment engine runs it: a failed installation fails the
// MSI; MODEL and PORT make the printer with its driver and monitor, under the
// key the README gives as the detection rule; removing the product removes
// them and leaves another maker's printers, one of them named like ours.
TEST_F(WizardE2eWinTest, MsiInstallsThePrinterAndItsRemovalLeavesAnotherMakersPrinters) {
  const std::filesystem::path msi = QX_MSI_PATH;
  if (!std::filesystem::exists(msi))
    GTEST_SKIP() << "no " << msi << ": the build found no wixl (Debian's msitools, which scripts/install-deps.sh installs)";
  wchar_t system[MAX_PATH] = {};
  GetSystemDirectoryW(system, MAX_PATH);
  const std::wstring package = L"\"" + wine::InPrefix(msi).wstring() + L"\"";
  std::wstring output;
  wine::RunConsoleProgram(system, L"msiexec.exe", L"/x " + package + L" /qn", output);  // a run that died midway
  ForeignPrinters foreign(m_folder);
  ASSERT_TRUE(foreign.Added()) << foreign.Failure();

  // Windows answers 1603 for a failed deferred action; Wine 8 answers 1627.
  const DWORD failed = wine::RunConsoleProgram(system, L"msiexec.exe", L"/i " + package + L" /qn MODEL=QX-9 PORT=LPT1:", output);
  EXPECT_TRUE(failed == 1603 || failed == 1627) << failed;
  EXPECT_FALSE(PrinterExists(kPrinter));

  const std::wstring log = Folder() + L"\\msi.log";
  ASSERT_EQ(wine::RunConsoleProgram(system, L"msiexec.exe",
                                    L"/i " + package + L" /qn MODEL=QX-630K PORT=LPT1: /l*v \"" + log + L"\"", output),
            0u);
  EXPECT_TRUE(PrinterExists(kPrinter));
  EXPECT_TRUE(DriverInstalled(kPrinter));
  EXPECT_TRUE(wine::MonitorInstalled(kLanguageMonitorName));
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, (L"SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\" + kPrinter).c_str(),
                          0, KEY_READ, &key),
            ERROR_SUCCESS);
  if (key) RegCloseKey(key);
  wchar_t programFiles[MAX_PATH] = {};
  GetEnvironmentVariableW(L"ProgramFiles", programFiles, MAX_PATH);
  const std::filesystem::path installed = std::filesystem::path(programFiles) / L"Quillex" / L"PrinterDriver";
  for (const wchar_t* file : {L"USB驱动安装说明.txt", L"字体\\wqy-microhei.ttc", L"24Pin\\X64\\QXLMON.dll", kInstallProgram})
    EXPECT_TRUE(std::filesystem::exists(installed / file)) << (installed / file);

  EXPECT_EQ(wine::RunConsoleProgram(system, L"msiexec.exe", L"/x " + package + L" /qn", output), 0u);
  EXPECT_FALSE(PrinterExists(kPrinter));
  EXPECT_FALSE(DriverInstalled(kPrinter));
  EXPECT_FALSE(wine::MonitorInstalled(kLanguageMonitorName));
  EXPECT_FALSE(std::filesystem::exists(installed / kInstallProgram));
  EXPECT_TRUE(foreign.AllThere());
}

// The MSIs of the deployment cases: the build's and a newer one of the same
// dist/; a product of ours left by an earlier run is removed first and last.
class MsiWinTest : public WizardE2eWinTest {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(QX_MSI_PATH) || !std::filesystem::exists(QX_NEWER_MSI_PATH))
      GTEST_SKIP() << "no MSI: the build found no wixl (Debian's msitools, which scripts/install-deps.sh installs)";
    WizardE2eWinTest::SetUp();
    RemoveProducts();
    wine::DeletePrinterNamed(kSecondModel);
    m_strOlder = L"\"" + wine::InPrefix(QX_MSI_PATH).wstring() + L"\"";
    m_strNewer = L"\"" + wine::InPrefix(QX_NEWER_MSI_PATH).wstring() + L"\"";
    m_strLog = Folder() + L"\\msi.log";
  }
  void TearDown() override {
    if (IsSkipped()) return;
    RemoveProducts();
    wine::DeletePrinterNamed(kSecondModel);
  }
  static void RemoveProducts() {
    std::wstring output;
    for (const std::wstring& product : InstalledProducts()) Msiexec(L"/x " + product + L" /qn", output);
  }
  std::wstring Logged(const std::wstring& arguments) const { return arguments + L" /qn /l*v \"" + m_strLog + L"\""; }

  static constexpr const wchar_t* kSecondModel = L"Quillex QX-730K";
  std::wstring m_strOlder, m_strNewer, m_strLog;
};

// What the package tells Windows Installer: MODEL and PORT secure (kept from
// a managed, non-admin start), the template's language that of the package,
// and launch conditions that explain themselves in Chinese.
TEST_F(MsiWinTest, PackageDeclaresSecurePropertiesItsLanguageAndChineseConditions) {
  const std::wstring package = wine::InPrefix(QX_MSI_PATH).wstring();
  const std::wstring secure = QueryMsi(package, L"SELECT `Value` FROM `Property` WHERE `Property`='SecureCustomProperties'");
  for (const wchar_t* property : {L"MODEL", L"PORT", L"NEWERVERSIONFOUND"})
    EXPECT_NE((L";" + secure + L";").find(std::wstring(L";") + property + L";"), std::wstring::npos) << secure;
  EXPECT_EQ(MsiTemplate(package), sizeof(void*) == 8 ? L"x64;2052" : L"Intel;2052");
  EXPECT_EQ(QueryMsi(package, L"SELECT `Description` FROM `LaunchCondition` WHERE `Condition`='Installed OR (MODEL AND PORT)'"),
            L"需要 MODEL 和 PORT，例如：msiexec /i QuillexPrinterDriver.msi /qn MODEL=QX-630K PORT=LPT1:");
  EXPECT_EQ(QueryMsi(package, L"SELECT `UpgradeCode` FROM `Upgrade`"), kUpgradeCode);
}

// Version 2 over version 1 as a deployment engine runs them: one product,
// the printer kept with its port and settings, no copy, version 2's files; an
// older MSI over it refused; the same product installed again, one printer;
// a repair brings back a deleted printer; the same MSI with another MODEL
// and PORT adds that printer; removing version 2 removes everything.
TEST_F(MsiWinTest, UpgradeKeepsThePrinterAndRepairBringsItBack) {
  std::wstring output;
  ASSERT_EQ(Msiexec(Logged(L"/i " + m_strOlder + L" MODEL=QX-630K PORT=LPT1:"), output), 0u);
  ASSERT_TRUE(SetComment(kPrinter, L"前台的打印机"));

  // The newer MSI alone, as "supersede" runs it: MODEL and PORT come from the installed product.
  ASSERT_EQ(Msiexec(Logged(L"/i " + m_strNewer), output), 0u) << wine::ReadAll(m_strLog).size();
  std::vector<std::wstring> products = InstalledProducts();
  ASSERT_EQ(products.size(), 1u);
  EXPECT_EQ(InstalledVersion(products[0]), L"" QX_NEWER_VERSION);
  std::vector<BYTE> storage;
  PRINTER_INFO_2W* printer = nullptr;
  ASSERT_TRUE(ReadPrinter(kPrinter, storage, printer));
  EXPECT_STREQ(printer->pPortName, L"LPT1:");
  // Windows tells the older product's removal that it is part of an upgrade
  // (UPGRADINGPRODUCTCODE), and the printer stays as it was. Wine 8 removes
  // the older product with "msiexec /qn /i {code} REMOVE=ALL" alone: there
  // the removal runs, and /update makes the printer anew, name and port kept.
  if (!wine::RunsUnderWine()) {
    EXPECT_STREQ(printer->pComment, L"前台的打印机");
  }
  EXPECT_FALSE(PrinterExists(kCopy));
  EXPECT_TRUE(DriverInstalled(kPrinter));
  wchar_t programFiles[MAX_PATH] = {};
  GetEnvironmentVariableW(L"ProgramFiles", programFiles, MAX_PATH);
  const std::filesystem::path installed = std::filesystem::path(programFiles) / L"Quillex" / L"PrinterDriver";
  EXPECT_TRUE(std::filesystem::exists(installed / kInstallProgram));

  // Windows answers 1603 for a failed launch condition.
  EXPECT_NE(Msiexec(Logged(L"/i " + m_strOlder + L" MODEL=QX-630K PORT=LPT1:"), output), 0u);
  // Windows logs the condition's message; Wine 8 only the property that fails it.
  EXPECT_TRUE(LogHolds(m_strLog, wine::RunsUnderWine() ? L"NEWERVERSIONFOUND = {"
                                                       : L"已安装更新版本的 Quillex 打印机驱动程序，不能用较旧的版本替换它"));
  EXPECT_EQ(InstalledProducts(), products);
  EXPECT_EQ(Msiexec(Logged(L"/i " + m_strNewer + L" MODEL=QX-630K PORT=LPT1:"), output), 0u);
  EXPECT_FALSE(PrinterExists(kCopy));
  EXPECT_TRUE(LogHolds(m_strLog, L"QuillexInstall: 保留打印机，已更新：" + kPrinter));

  // The repair as its properties say it ("msiexec /fomus" on Windows; Wine 8's
  // msiexec /f answers 1605 for a package and 1 for a product code, and repairs nothing).
  wine::DeletePrinterNamed(kPrinter);
  EXPECT_EQ(Msiexec(Logged(L"/i " + m_strNewer + L" REINSTALL=ALL REINSTALLMODE=omus"), output), 0u);
  EXPECT_TRUE(ReadPrinter(kPrinter, storage, printer) && std::wstring(printer->pPortName) == L"LPT1:");

  EXPECT_EQ(Msiexec(Logged(L"/i " + m_strNewer + L" MODEL=QX-730K PORT=LPT2:"), output), 0u);
  EXPECT_TRUE(ReadPrinter(kSecondModel, storage, printer) && std::wstring(printer->pPortName) == L"LPT2:");
  EXPECT_FALSE(PrinterExists(kCopy));

  EXPECT_EQ(Msiexec(Logged(L"/x " + m_strNewer), output), 0u);
  EXPECT_TRUE(InstalledProducts().empty());
  for (const std::wstring& name : {kPrinter, std::wstring(kSecondModel)}) {
    EXPECT_FALSE(PrinterExists(name)) << name;
    EXPECT_FALSE(DriverInstalled(name)) << name;
  }
  EXPECT_FALSE(wine::MonitorInstalled(kLanguageMonitorName));
  EXPECT_FALSE(std::filesystem::exists(installed / kInstallProgram));
}

// Bad arguments and an unknown model: 87 with the usage or the model list;
// with no printer attached, /detect takes the first model.
TEST_F(WizardE2eWinTest, InstallProgramArgumentsAndDetection) {
  std::wstring output;
  EXPECT_EQ(wine::RunConsoleProgram(Folder(), kInstallProgram, L"/install /port", output), 87u);
  EXPECT_NE(output.find(L"用法：QuillexInstall.exe /install"), std::wstring::npos) << output;
  EXPECT_EQ(wine::RunConsoleProgram(Folder(), kInstallProgram, L"/install /model QX-9 /port LPT1:", output), 87u);
  EXPECT_NE(output.find(L"可用的型号：QX-630K、QX-730K"), std::wstring::npos) << output;
  EXPECT_EQ(wine::RunConsoleProgram(Folder(), kInstallProgram, L"/install /detect /port LPT1:", output), 0u);
  EXPECT_TRUE(PrinterExists(kPrinter));
}

// One installation at a time: while a wizard runs, a second wizard leaves at
// once and the install program exits with 1618.
TEST_F(WizardE2eWinTest, OneInstallationAtATime) {
  SetupProcess first(Folder());
  ASSERT_NE(first.WaitForWindow(wine::DialogWithChild(IDC_EXPLAIN_CLOSE)), nullptr);
  SetupProcess second(Folder());
  EXPECT_TRUE(second.WaitForExit(20000));
  std::wstring output;
  EXPECT_EQ(wine::RunConsoleProgram(Folder(), kInstallProgram, L"/install /model QX-630K /port LPT1:", output),
            1618u);
  EXPECT_FALSE(PrinterExists(kPrinter));
}

// Without PrinterInfo.ini the model page shows box "1" and the wizard closes.
TEST_F(WizardE2eWinTest, MissingConfigurationShowsBoxOne) {
  std::filesystem::remove(m_folder / L"PrinterInfo.ini");
  SetupProcess setup(Folder());
  HWND readme = setup.WaitForWindow(wine::DialogWithChild(IDC_EXPLAIN_CLOSE));
  ASSERT_NE(readme, nullptr);
  Click(readme, IDC_EXPLAIN_CLOSE);
  HWND box = setup.WaitForWindow(wine::DialogWithChild(IDC_MESERROR_OK));
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(wine::WindowText(box), L"安装失败：1");
  Click(box, IDC_MESERROR_OK);
  EXPECT_TRUE(setup.WaitForExit());
}

// The Spooler stopped and disabled for the test's lifetime; afterwards it
// may start on demand again and runs.
class DisabledSpooler {
 public:
  DisabledSpooler() { SetStart(SERVICE_DISABLED, true); }
  ~DisabledSpooler() {
    SetStart(SERVICE_AUTO_START, false);
    wine::EnsureSpoolerRunning();
  }

 private:
  static void SetStart(DWORD startType, bool stop) {
    SC_HANDLE scm = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    SC_HANDLE service = scm ? OpenServiceW(scm, L"Spooler", SERVICE_ALL_ACCESS) : nullptr;
    if (service) {
      ChangeServiceConfigW(service, SERVICE_NO_CHANGE, startType, SERVICE_NO_CHANGE, nullptr, nullptr, nullptr,
                           nullptr, nullptr, nullptr, nullptr);
      SERVICE_STATUS status{};
      if (stop) ControlService(service, SERVICE_CONTROL_STOP, &status);
      CloseServiceHandle(service);
    }
    if (scm) CloseServiceHandle(scm);
  }
};

// A spooler that will not run is box "7", in front of the wizard, not a
// wizard that vanishes; nothing is installed.
TEST_F(WizardE2eWinTest, DisabledSpoolerShowsBoxSeven) {
  DisabledSpooler disabled;
  ASSERT_TRUE(wine::SpoolerReaches(SERVICE_STOPPED));
  InstallEndsOnBox(L"7");
  EXPECT_FALSE(PrinterExists(kPrinter));
}

// Removal while printing cannot run: the MSI's removal succeeds and removes
// the product, and the install log says that the printers stay; they are
// still there once printing runs again. By hand, the removal fails with 7.
TEST_F(MsiWinTest, RemovalWithTheSpoolerDisabledKeepsThePrintersAndSucceeds) {
  std::wstring output;
  ASSERT_EQ(Msiexec(Logged(L"/i " + m_strOlder + L" MODEL=QX-630K PORT=LPT1:"), output), 0u);
  std::filesystem::remove(wine::LogFile(1));
  {
    DisabledSpooler disabled;
    ASSERT_TRUE(wine::SpoolerReaches(SERVICE_STOPPED));
    EXPECT_EQ(wine::RunConsoleProgram(Folder(), kInstallProgram, L"/uninstall /all", output), 7u) << output;
    EXPECT_EQ(Msiexec(Logged(L"/x " + m_strOlder), output), 0u);
    EXPECT_TRUE(InstalledProducts().empty());
  }
  EXPECT_TRUE(LogHolds(wine::LogFile(1), L"Quillex 打印机及其驱动程序保留"));
  EXPECT_TRUE(LogHolds(m_strLog, L"QuillexInstall: 未卸载：打印服务（Spooler）无法运行：Quillex 打印机及其驱动程序保留"));
  EXPECT_TRUE(PrinterExists(kPrinter));
  EXPECT_EQ(wine::RunConsoleProgram(Folder(), kInstallProgram, L"/uninstall /all", output), 0u) << output;
  EXPECT_FALSE(PrinterExists(kPrinter));
}

// A job waiting in the printer's queue, then the MSI's removal: the run
// succeeds and the job is never purged; a later removal finishes.
TEST_F(MsiWinTest, RemovalWithAQueuedJobSucceedsAndNeverPurgesIt) {
  std::wstring output;
  ASSERT_EQ(Msiexec(Logged(L"/i " + m_strOlder + L" MODEL=QX-630K PORT=LPT1:"), output), 0u);
  HANDLE printer = nullptr;
  ASSERT_TRUE(OpenPrinterW(const_cast<LPWSTR>(kPrinter.c_str()), &printer, nullptr));
  DOC_INFO_1W document{const_cast<LPWSTR>(L"queued"), nullptr, const_cast<LPWSTR>(L"RAW")};
  const DWORD job = StartDocPrinterW(printer, 1, reinterpret_cast<BYTE*>(&document));
  ASSERT_NE(job, 0u);
  char bytes[] = "queued job\r\n";
  DWORD written = 0;
  WritePrinter(printer, bytes, sizeof bytes - 1, &written);
  std::vector<BYTE> storage;
  PRINTER_INFO_2W* info = nullptr;
  ASSERT_TRUE(ReadPrinter(kPrinter, storage, info));
  const DWORD jobs = info->cJobs;

  EXPECT_EQ(Msiexec(Logged(L"/x " + m_strOlder), output), 0u);
  EXPECT_TRUE(InstalledProducts().empty());
  EXPECT_TRUE(LogHolds(m_strLog, L"QuillexInstall: 驱动卸载成功"));
  const bool waits = ReadPrinter(kPrinter, storage, info);
  std::printf("queued jobs seen by the test: %lu; after the removal the printer %s\n", jobs,
              waits ? "waits pending deletion" : "is gone");
  if (waits) {
    EXPECT_EQ(info->cJobs, jobs);
    EXPECT_TRUE(info->Status & PRINTER_STATUS_PENDING_DELETION);
    EXPECT_TRUE(DriverInstalled(kPrinter));
  }
  EndDocPrinter(printer);
  ClosePrinter(printer);
  EXPECT_EQ(wine::RunConsoleProgram(Folder(), kInstallProgram, L"/uninstall /all", output), 0u) << output;
  EXPECT_FALSE(PrinterExists(kPrinter));
  EXPECT_FALSE(DriverInstalled(kPrinter));
}

// A monitor DLL without its entry point is refused before anything is
// written (code 9), and the monitor installed before stays.
TEST_F(WizardE2eWinTest, MonitorWithoutItsEntryPointIsRefusedAndTheOldOneStays) {
  std::wstring output;
  if (!wine::MonitorInstalled(kLanguageMonitorName)) {
    ASSERT_EQ(wine::RunConsoleProgram(Folder(), kInstallProgram, L"/install /model QX-730K /port LPT1:", output), 0u);
  }
  for (const wchar_t* arch : {L"i386", L"X64"}) {
    const std::filesystem::path branch = m_folder / L"24Pin" / arch;
    ASSERT_TRUE(CopyFileW((branch / L"unidrv.dll").c_str(), (branch / L"QXLMON.dll").c_str(), FALSE));
  }
  EXPECT_EQ(wine::RunConsoleProgram(Folder(), kInstallProgram, L"/install /model QX-630K /port LPT1:", output), 9u);
  EXPECT_NE(output.find(L"安装失败：9"), std::wstring::npos) << output;
  EXPECT_TRUE(wine::MonitorInstalled(kLanguageMonitorName));
  EXPECT_TRUE(MonitorInNativeDriverFolder());
  EXPECT_FALSE(PrinterExists(kPrinter));
}

// Windows protected print mode: Finish says so in plain words before
// anything is copied, and the wizard stays on its page; the install program
// exits with 10.
TEST_F(WizardE2eWinTest, ProtectedPrintModeIsNamedAtFinish) {
  HKEY policy = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kProtectedPrintPolicyKey, 0, nullptr, 0,
                            KEY_SET_VALUE | KEY_WOW64_64KEY, nullptr, &policy, nullptr),
            ERROR_SUCCESS);
  const DWORD on = 1;
  RegSetValueExW(policy, kProtectedPrintPolicyValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&on), sizeof on);
  {
    SetupProcess setup(Folder());
    HWND wizard = PassReadme(setup);
    ASSERT_NE(wizard, nullptr);
    ToConfirmPage(setup, wizard);
    Click(wizard, IDC_FINISH);
    std::wstring text;
    HWND box = setup.WaitForWindow(wine::MessageBoxCaptioned(L"安装提示", &text));
    ASSERT_NE(box, nullptr);
    EXPECT_NE(text.find(L"受保护的打印模式"), std::wstring::npos) << text;
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(wine::WaitUntil([&] { return wine::ChildVisible(wizard, IDC_FINISH); }));
    EXPECT_FALSE(wine::ChildVisible(wizard, IDC_PROGRESS));
  }
  std::wstring output;
  EXPECT_EQ(wine::RunConsoleProgram(Folder(), kInstallProgram, L"/install /model QX-630K /port LPT1:", output), 10u);
  RegDeleteValueW(policy, kProtectedPrintPolicyValue);
  RegCloseKey(policy);
  EXPECT_FALSE(PrinterExists(kPrinter));
}

// A package branch missing a file: box "2" from the copy, no success box.
TEST_F(WizardE2eWinTest, MissingPackageFileShowsBoxTwo) {
  const size_t printers = PrinterCount();
  for (const wchar_t* arch : {L"i386", L"X64"}) std::filesystem::remove(m_folder / L"24Pin" / arch / L"QX24RES.DLL");
  InstallEndsOnBox(L"2");
  EXPECT_EQ(PrinterCount(), printers);
}

// The package check on the shipped dist passes; on a copy with a 32-bit DLL
// in X64, a missing GPD and an INF whose 64-bit models section lacks a model
// it names each of the three.
TEST_F(WizardE2eWinTest, PackageCheckPassesTheShippedDistAndNamesEachFault) {
  std::wstring output;
  EXPECT_EQ(wine::RunConsoleProgram(Folder(), kInstallProgram, L"/check", output), 0u) << output;
  EXPECT_NE(output.find(L"驱动程序包检查通过："), std::wstring::npos) << output;

  const std::filesystem::path x86 = m_folder / L"24Pin" / L"i386", x64 = m_folder / L"24Pin" / L"X64";
  ASSERT_TRUE(CopyFileW((x86 / L"QX24RES.DLL").c_str(), (x64 / L"QX24RES.DLL").c_str(), FALSE));
  ASSERT_TRUE(std::filesystem::remove(x86 / L"QX-730K.GPD"));
  std::string inf;
  {
    std::ifstream in(x64 / L"24Pin.inf", std::ios::binary);
    inf.assign(std::istreambuf_iterator<char>(in), {});
  }
  const size_t section = inf.find("[Quillex_Tech.NTamd64]");
  ASSERT_NE(section, std::string::npos);
  for (size_t line; (line = inf.find("= QX-730K.GPD", section)) != std::string::npos;) {
    const size_t start = inf.rfind('\n', line) + 1;
    inf.erase(start, inf.find('\n', line) + 1 - start);
  }
  std::ofstream(x64 / L"24Pin.inf", std::ios::binary | std::ios::trunc) << inf;

  EXPECT_EQ(wine::RunConsoleProgram(Folder(), kInstallProgram, L"/check", output), 1u) << output;
  for (const wchar_t* finding : {L"不是 64 位（x64）库文件：", L"\\24Pin\\X64\\QX24RES.DLL",
                                 L"缺少型号 QX-730K 的数据文件：", L"\\24Pin\\i386\\QX-730K.GPD",
                                 L"INF 文件的型号节 [Quillex_Tech.NTamd64] 没有型号 QX-730K：",
                                 L"驱动程序包检查发现 3 个问题："})
    EXPECT_NE(output.find(finding), std::wstring::npos) << finding << "\n" << output;
}

// The screen's DPI the test expects: its own prefix's (QX_WINE_DPI), else 96.
int ExpectedDpi() {
  const char* dpi = std::getenv("QX_WINE_DPI");
  return dpi && *dpi ? std::atoi(dpi) : kBaseDpi;
}

UiSize WindowSize(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return {r.right - r.left, r.bottom - r.top};
}

UiRect ChildRect(HWND dialog, int id) {
  RECT r{};
  GetWindowRect(GetDlgItem(dialog, id), &r);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

// The row height of a list box of this process in a font of `tenths` / 10
// points of `face` made for 96 DPI: the 96-DPI row of the wizard's lists.
int RowHeightAt96(int tenths, const wchar_t* face) {
  HWND list = CreateWindowExW(0, L"LISTBOX", L"", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
  HFONT font = CreateFontW(PointFontHeight(tenths, kBaseDpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                           DEFAULT_CHARSET, 0, 0, 0, 0, face);
  SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  const int height = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
  DestroyWindow(list);
  DeleteObject(font);
  return height;
}

void ExpectPagePlaced(HWND wizard, int page, bool usbPortFound, int dpi) {
  for (const ControlPlacement& p : WizardPagePlacements(page, usbPortFound))
    EXPECT_EQ(ChildRect(wizard, p.id), ScaleToDpi(p.rect, dpi)) << "page " << page << ", control " << p.id;
  EXPECT_EQ(ChildRect(wizard, IDC_LOGO), ScaleToDpi(layout::kLogo, dpi));
}

// For people (QX_SCREENSHOT_DIR): the window as shown, once it and its
// controls have painted (a window just shown may not have yet).
void Screenshot(HWND window, const std::string& name, int dpi) {
  if (!std::getenv("QX_SCREENSHOT_DIR")) return;
  wine::WaitUntil([window] {
    ui_test::Capture pixels(window);
    return pixels.At(pixels.Width() / 2, pixels.Height() / 2) != RGB(0, 0, 0);
  }, 5000);
  Sleep(300);
  ui_test::Capture(window, true).SaveIfAsked((name + "-" + std::to_string(dpi)).c_str());
}

// At the screen's DPI every window is its 96-DPI layout scaled: the readme,
// the four pages, the quit question; the lists' rows grow with their fonts. Run at 96 DPI in the suite's prefix and at 144 and 192 in
// prefixes of their own.
TEST_F(WizardE2eWinTest, EveryWindowScalesWithTheScreensDpi) {
  SetProcessDPIAware();  // this process sees the installer's windows in real pixels
  const int dpi = ExpectedDpi();
  {
    HDC screen = GetDC(nullptr);
    ASSERT_EQ(GetDeviceCaps(screen, LOGPIXELSY), dpi) << "the prefix's LogPixels";
    ReleaseDC(nullptr, screen);
  }
  SetupProcess setup(Folder());
  HWND readme = setup.WaitForWindow(wine::DialogWithChild(IDC_EXPLAIN_CLOSE));
  ASSERT_NE(readme, nullptr);
  EXPECT_EQ(WindowSize(readme), ScaleToDpi(layout::kReadmeWindow, dpi));
  EXPECT_EQ(ChildRect(readme, IDC_EXPLAIN_CLOSE).Size(), ScaleToDpi(layout::kReadmeClose.Size(), dpi));
  Screenshot(readme, "readme", dpi);
  Click(readme, IDC_EXPLAIN_CLOSE);
  HWND wizard = setup.WaitForWindow(IsWizard);
  ASSERT_NE(wizard, nullptr);
  ASSERT_TRUE(wine::WaitUntil([&] { return wine::ChildVisible(wizard, IDC_MODEL_LIST); }));
  EXPECT_EQ(WindowSize(wizard), ScaleToDpi(layout::kWizardWindow, dpi));
  ExpectPagePlaced(wizard, ModelPage, true, dpi);
  const int modelRow = static_cast<int>(SendMessageW(GetDlgItem(wizard, IDC_MODEL_LIST), LB_GETITEMHEIGHT, 0, 0));
  EXPECT_NEAR(modelRow, ScaleToDpi(RowHeightAt96(90, L"MS Shell Dlg"), dpi), 2);
  Screenshot(wizard, "model-page", dpi);

  Click(wizard, IDC_CANCEL);
  HWND question = setup.WaitForWindow(wine::DialogWithChild(IDC_ISCLOSE_NO));
  ASSERT_NE(question, nullptr);
  EXPECT_EQ(WindowSize(question), ScaleToDpi(layout::kQuitWindow, dpi));
  for (const ControlPlacement& p : QuitQuestionPlacements())
    EXPECT_EQ(ChildRect(question, p.id), ScaleToDpi(p.rect, dpi)) << p.id;
  Screenshot(question, "quit-question", dpi);
  Click(question, IDC_ISCLOSE_NO);
  ASSERT_TRUE(wine::WaitUntil([&] { return !IsWindow(question) || !IsWindowVisible(question); }));

  PostMessageW(wizard, WM_SYSCOMMAND, 0x10, 0);  // the system menu's About item
  HWND about = setup.WaitForWindow([](HWND w) { return wine::WindowText(w) == L"关于 Quillex驱动安装程序"; });
  ASSERT_NE(about, nullptr);
  Screenshot(about, "about", dpi);
  PostMessageW(about, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(wine::WaitUntil([&] { return !IsWindow(about) || !IsWindowVisible(about); }));

  ASSERT_TRUE(wine::SelectRow(wizard, IDC_MODEL_LIST, kPrinter));
  Click(wizard, IDC_NEXT);
  HWND hint = setup.WaitForWindow(wine::MessageBoxCaptioned(L"安装提示"));
  ASSERT_NE(hint, nullptr);
  Screenshot(hint, "hint-box", dpi);
  PostMessageW(hint, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(wine::WaitUntil([&] { return wine::ChildVisible(wizard, IDC_PORT_LIST); }));
  ExpectPagePlaced(wizard, PortPage, false, dpi);
  const int portRow = static_cast<int>(SendMessageW(GetDlgItem(wizard, IDC_PORT_LIST), LB_GETITEMHEIGHT, 0, 0));
  EXPECT_NEAR(portRow, ScaleToDpi(RowHeightAt96(layout::kListFontTenths, L"方正兰亭黑_GBK"), dpi), 2);
  Screenshot(wizard, "port-page", dpi);

  ASSERT_TRUE(wine::SelectRow(wizard, IDC_PORT_LIST, L"LPT1:"));
  Click(wizard, IDC_NEXT);
  ASSERT_TRUE(wine::WaitUntil([&] { return wine::ChildVisible(wizard, IDC_FINISH); }));
  ExpectPagePlaced(wizard, ConfirmPage, true, dpi);
  Screenshot(wizard, "confirm-page", dpi);

  Click(wizard, IDC_FINISH);
  ASSERT_TRUE(wine::WaitUntil([&] { return wine::ChildVisible(wizard, IDC_PROGRESS); }));
  ExpectPagePlaced(wizard, InstallPage, true, dpi);
  Screenshot(wizard, "install-page", dpi);
  HWND success = setup.WaitForWindow(wine::MessageBoxCaptioned(L"Tovanta"), 120000);
  ASSERT_NE(success, nullptr);
  PostMessageW(success, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(setup.WaitForExit());
}

TEST_F(WizardE2eWinTest, ErrorBoxScalesWithTheScreensDpi) {
  SetProcessDPIAware();
  const int dpi = ExpectedDpi();
  std::filesystem::remove(m_folder / L"PrinterInfo.ini");
  SetupProcess setup(Folder());
  HWND readme = setup.WaitForWindow(wine::DialogWithChild(IDC_EXPLAIN_CLOSE));
  ASSERT_NE(readme, nullptr);
  Click(readme, IDC_EXPLAIN_CLOSE);
  HWND box = setup.WaitForWindow(wine::DialogWithChild(IDC_MESERROR_OK));
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(WindowSize(box), ScaleToDpi(layout::kErrorWindow, dpi));
  EXPECT_EQ(ChildRect(box, IDC_MESERROR_HEADING), ScaleToDpi(layout::kErrorHeading, dpi));
  EXPECT_EQ(ChildRect(box, IDC_MESERROR_OK), ScaleToDpi(layout::kErrorButton, dpi));
  Screenshot(box, "error-box", dpi);
  Click(box, IDC_MESERROR_OK);
  EXPECT_TRUE(setup.WaitForExit());
}

}  // namespace
