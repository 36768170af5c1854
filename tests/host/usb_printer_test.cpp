#include <gtest/gtest.h>

#include "discovery/usb_printer.h"
#include "discovery_machine.h"
#include "platform/error.h"
#include "platform/window.h"

namespace {

using discovery_machine::AddUsbPrinter;
using discovery_machine::UsbPath;

const std::string kQx630 = "MFG:Quillex;MDL:QX-630K;CMD:ESCP;";

class UsbPrinterTest : public SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    UsbPortFilter = L"vid_d23c&pid_0001";
  }
  std::wstring model, manufacturer;
};

TEST_F(UsbPrinterTest, NoPrinterGivesNoNumberNoIdAndNoMessage) {
  EXPECT_EQ(FindUsbPrinterPortNumber(nullptr), 0u);
  ReadUsbDeviceId(model, manufacturer);
  EXPECT_EQ(model + manufacturer, L"");
  EXPECT_TRUE(M().windows.messageBoxes.empty());
}

TEST_F(UsbPrinterTest, PortNumberUnderTheInterfaceKeyTheLastMatchWins) {
  AddUsbPrinter(UsbPath(L"vid_d23c&pid_0001", L"5&1a2b&0&1"), 0, kQx630);
  M().registry.SetDword(L"HKLM\\SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\{28d78fad-5a12-11d1-ae5b-"
                        L"0000f803a8c2}\\##?#usb#vid_d23c&pid_0001#5&1a2b&0&1#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}"
                        L"\\#\\Device Parameters",
                        L"Port Number", 2);
  EXPECT_EQ(FindUsbPrinterPortNumber(nullptr), 2u);
  AddUsbPrinter(UsbPath(L"vid_d23c&pid_0001", L"7"), 4, kQx630);
  AddUsbPrinter(UsbPath(L"VID_D23C&PID_0001", L"8"), 6, kQx630);  // other case: no match
  AddUsbPrinter(UsbPath(L"vid_04b8&pid_0005", L"9"), 7, kQx630);  // other make
  EXPECT_EQ(FindUsbPrinterPortNumber(nullptr), 4u);
}

TEST_F(UsbPrinterTest, AMatchWithoutItsNumberDropsTheEarlierOne) {
  AddUsbPrinter(UsbPath(L"vid_d23c&pid_0001", L"1"), 3, kQx630);
  AddUsbPrinter(UsbPath(L"vid_d23c&pid_0001", L"2"), 0, kQx630);
  EXPECT_EQ(FindUsbPrinterPortNumber(nullptr), 0u);
}

TEST_F(UsbPrinterTest, WithoutADeviceSetAnErrorBox) {
  M().faults.Fail("SetupDiGetClassDevsW", plat::kErrorInvalidParameter);
  plat::Handle wizard = reinterpret_cast<plat::Handle>(0x42);
  EXPECT_EQ(FindUsbPrinterPortNumber(wizard), 0u);
  ASSERT_EQ(M().windows.messageBoxes.size(), 1u);
  const auto& box = M().windows.messageBoxes[0];
  EXPECT_EQ(box.owner, wizard);
  EXPECT_EQ(box.text, L"无法获取指定设备信息集!");
  EXPECT_EQ(box.caption, L"Quillex驱动安装程序");
  EXPECT_EQ(box.style, plat::kMbIconError);
}

TEST_F(UsbPrinterTest, TheLastInterfaceOfAnyMakeIsRead) {
  AddUsbPrinter(UsbPath(L"vid_d23c&pid_0001", L"1"), 1, kQx630);
  AddUsbPrinter(UsbPath(L"vid_04b8&pid_0005", L"2"), 2, "MFG:Other;MDL:LQ-1;");
  ReadUsbDeviceId(model, manufacturer);
  EXPECT_EQ(model, L"LQ-1");
  EXPECT_EQ(manufacturer, L"Other");
  EXPECT_EQ(M().devices.openEndpoints.size(), 0u);
}

TEST_F(UsbPrinterTest, TheLengthBytesAreSkippedAndShortRepliesRejected) {
  const std::string id = "MFG:Quillex;MDL:QX-730K;CLS:PRINTER;XXX;";  // 40 bytes, no terminator behind
  ASSERT_EQ(id.size(), 40u);
  auto& printer = AddUsbPrinter(UsbPath(L"vid_d23c&pid_0001", L"1"), 1, "");
  printer.reply = std::string("\x00\x2A", 2) + id;
  ReadUsbDeviceId(model, manufacturer);
  EXPECT_EQ(model, L"QX-730K");
  for (std::string reply : {std::string(), std::string(1, '\x2A')}) {
    printer.reply = reply;
    model = L"kept";
    ReadUsbDeviceId(model, manufacturer);
    EXPECT_EQ(model, L"");
    EXPECT_EQ(manufacturer, L"");
  }
}

TEST_F(UsbPrinterTest, AnIdWithoutManufacturerEmptiesTheModelAFailedQueryKeepsIt) {
  auto& printer = AddUsbPrinter(UsbPath(L"vid_d23c&pid_0001", L"1"), 1, "MDL:QX-630K;");
  model = L"kept";
  ReadUsbDeviceId(model, manufacturer);
  EXPECT_EQ(model, L"");
  printer.queryError = 31u;
  model = L"kept";
  ReadUsbDeviceId(model, manufacturer);
  EXPECT_EQ(model, L"kept");
}

}  // namespace
