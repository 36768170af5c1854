// The installer end to end: QuillexSetup.exe started from a copy of dist/
// and driven through its windows as a user would, against the prefix's real
// spooler.
#include <gtest/gtest.h>
#include <windows.h>
#include <winspool.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "catalog/app_title.h"
#include "catalog/platform_probe.h"
#include "engine/pe_image.h"
#include "engine/protected_print.h"
#include "engine/driver_registration.h"
#include "res/resource.h"
#include "setup_process.h"
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

size_t PrinterCount() {
  std::vector<BYTE> storage;
  return wine::EnumLocalPrinters(storage).size();
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

// A monitor DLL without its entry point is refused before anything is
// written (code 9), and the monitor installed before stays.
TEST_F(WizardE2eWinTest, MonitorWithoutItsEntryPointIsRefusedAndTheOldOneStays) {
  std::wstring output;
  if (!wine::MonitorInstalled(kLanguageMonitorName))
    ASSERT_EQ(wine::RunConsoleProgram(Folder(), kInstallProgram, L"/install /model QX-730K /port LPT1:", output), 0u);
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

}  // namespace
