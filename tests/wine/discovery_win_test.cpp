// Discovery against Wine's real API: the spooler's port list, PrinterInfo.ini
// through the real profile functions, and a USB printing interface registered
// through the real SetupAPI.
#include <gtest/gtest.h>
#include <windows.h>
#include <setupapi.h>
#include <winspool.h>

#include <cwctype>
#include <string>
#include <vector>

#include "catalog/printer_info_file.h"
#include "discovery/model_detection.h"
#include "discovery/port_list.h"
#include "discovery/usb_printer.h"
#include "wine_support.h"

namespace {

const GUID kUsbPrint{0x28D78FAD, 0x5A12, 0x11D1, {0xAE, 0x5B, 0x00, 0x00, 0xF8, 0x03, 0xA8, 0xC2}};
const GUID kPrinterClass{0x4D36E979, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};

std::vector<std::wstring> SpoolerPorts() {
  DWORD needed = 0, count = 0;
  EnumPortsW(nullptr, 1, nullptr, 0, &needed, &count);
  std::vector<BYTE> buffer(needed);
  EXPECT_TRUE(EnumPortsW(nullptr, 1, buffer.data(), needed, &needed, &count));
  std::vector<std::wstring> names;
  for (DWORD i = 0; i < count; ++i) names.emplace_back(reinterpret_cast<PORT_INFO_1W*>(buffer.data())[i].pName);
  return names;
}

// The USB printing interfaces can be listed, so no error box can block the test.
bool UsbInterfacesListable() {
  HDEVINFO set = SetupDiGetClassDevsW(&kUsbPrint, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
  if (set == INVALID_HANDLE_VALUE) return false;
  SetupDiDestroyDeviceInfoList(set);
  return true;
}

// PrinterInfo.ini beside the test program, removed again at the end.
class PrinterInfoFileWinTest : public ::testing::Test {
 protected:
  void TearDown() override { DeleteFileW(info.Path().c_str()); }
  CPrinterInfoFile info;
  wine::ErrorBoxRecorder boxes;
  std::wstring detected = L"stale";
};

TEST(FillPortListWinTest, SpoolerOrderFirstParallelPortNoBox) {
  wine::EnsureSpoolerRunning();
  ASSERT_TRUE(UsbInterfacesListable());
  const std::vector<std::wstring> ports = SpoolerPorts();
  PortListRows page = FillPortList(nullptr);
  EXPECT_EQ(page.rows, ports);
  ASSERT_GE(page.selected, 0);
  EXPECT_EQ(page.rows[page.selected].find(L"LPT"), 0u);
  for (int i = 0; i < page.selected; ++i) EXPECT_EQ(page.rows[i].find(L"LPT"), std::wstring::npos);
  EXPECT_FALSE(page.result);
}

TEST_F(PrinterInfoFileWinTest, GbkFileWithAMissingKey) {
  // [82列票据打印机] in GBK, Counts 3, key 1 missing.
  wine::WriteAll(info.Path(), "[82\xC1\xD0\xC6\xB1\xBE\xDD\xB4\xF2\xD3\xA1\xBB\xFA]\r\nCounts=3\r\n0=QX-630K\r\n"
                              "2=QX-730K\r\n[VID_PID]\r\nVID=vid_d23c\r\nPID=pid_0001\r\n");
  std::vector<std::wstring> entries(4);
  EXPECT_EQ(info.ReadNumberedList(kModelSection, entries), 3);
  EXPECT_EQ(entries, (std::vector<std::wstring>{L"QX-630K", L"", L"QX-730K", L""}));
  ASSERT_TRUE(UsbInterfacesListable());
  ModelListRows page = DetectPrinterModel(info, nullptr, detected);
  EXPECT_EQ(page.rows, (std::vector<std::wstring>{L"Quillex QX-630K", L"Quillex QX-730K"}));
  EXPECT_EQ(page.selected, 0);
  EXPECT_EQ(detected, L"");
  EXPECT_EQ(UsbPortFilter, L"vid_d23c&pid_0001");
  EXPECT_TRUE(wine::ErrorBoxRecorder::Boxes().empty());
}

TEST_F(PrinterInfoFileWinTest, AMissingFileShowsBoxOne) {
  DeleteFileW(info.Path().c_str());
  ModelListRows page = DetectPrinterModel(info, nullptr, detected);
  EXPECT_TRUE(page.configurationMissing);
  EXPECT_TRUE(page.rows.empty());
  EXPECT_EQ(detected, L"");
  EXPECT_EQ(wine::ErrorBoxRecorder::Boxes(), (std::vector<std::wstring>{L"1"}));
}

// A USB printing interface of the maker's printer, registered the way a
// driver's installation leaves it (its "Port Number" in "Device Parameters",
// "Linked" under "Control"), and removed at the end.
class UsbInterfaceWinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    set = SetupDiCreateDeviceInfoList(&kPrinterClass, nullptr);
    ASSERT_NE(set, INVALID_HANDLE_VALUE);
    device.cbSize = sizeof device;
    ASSERT_TRUE(SetupDiCreateDeviceInfoW(set, L"USB\\VID_D23C&PID_0001\\QXWINETEST", &kPrinterClass, nullptr,
                                         nullptr, 0, &device));
    ASSERT_TRUE(SetupDiRegisterDeviceInfo(set, &device, 0, nullptr, nullptr, nullptr));
    iface.cbSize = sizeof iface;
    ASSERT_TRUE(SetupDiCreateDeviceInterfaceW(set, &device, &kUsbPrint, nullptr, 0, &iface));
    HKEY key = SetupDiCreateDeviceInterfaceRegKeyW(set, &iface, 0, KEY_ALL_ACCESS, nullptr, nullptr);
    ASSERT_NE(key, INVALID_HANDLE_VALUE);
    SetDword(key, L"Port Number", 7);
    RegCloseKey(key);
    path = DevicePath();
    ASSERT_FALSE(path.empty());
    std::wstring control = UsbInterfaceParametersKey(path, 4);
    control.replace(control.rfind(L"Device Parameters"), std::wstring::npos, L"Control");
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, control.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                              nullptr), ERROR_SUCCESS);
    SetDword(key, L"Linked", 1);
    RegCloseKey(key);
  }
  void TearDown() override {
    SetupDiRemoveDeviceInterface(set, &iface);
    SetupDiRemoveDevice(set, &device);
    SetupDiDestroyDeviceInfoList(set);
  }
  static void SetDword(HKEY key, const wchar_t* name, DWORD value) {
    EXPECT_EQ(RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value),
              ERROR_SUCCESS);
  }
  std::wstring DevicePath() {
    DWORD required = 0;
    SetupDiGetDeviceInterfaceDetailW(set, &iface, nullptr, 0, &required, nullptr);
    std::vector<BYTE> detail(required, 0);
    if (detail.size() < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) return {};
    auto* record = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(detail.data());
    record->cbSize = sizeof *record;
    if (!SetupDiGetDeviceInterfaceDetailW(set, &iface, record, required, nullptr, nullptr)) return {};
    return record->DevicePath;
  }
  HDEVINFO set = INVALID_HANDLE_VALUE;
  SP_DEVINFO_DATA device{};
  SP_DEVICE_INTERFACE_DATA iface{};
  std::wstring path;
};

TEST_F(UsbInterfaceWinTest, PortNumberThroughTheRealSizeProtocol) {
  ASSERT_TRUE(UsbInterfacesListable());
  // The filter in the letter case this SetupAPI gives the path (Wine: lower case).
  std::wstring folded = path;
  for (wchar_t& c : folded) c = static_cast<wchar_t>(towlower(c));
  const size_t at = folded.find(L"vid_d23c&pid_0001");
  ASSERT_NE(at, std::wstring::npos) << path;
  UsbPortFilter = path.substr(at, 17);
  const uint32_t number = FindUsbPrinterPortNumber(nullptr);
  UsbPortFilter = L"vid_d23c&pid_0001";
  EXPECT_EQ(number, 7u);
}

}  // namespace
