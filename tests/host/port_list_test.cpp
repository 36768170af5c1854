#include <gtest/gtest.h>

#include "discovery/port_list.h"
#include "discovery/usb_printer.h"
#include "discovery_machine.h"
#include "platform/error.h"
#include "platform/window.h"

namespace {

using discovery_machine::AddUsbPrinter;
using discovery_machine::UsbPath;
using Rows = std::vector<std::wstring>;

class FillPortListTest : public SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    UsbPortFilter = L"vid_d23c&pid_0001";
  }
  void UsbPortNumber(uint32_t n) { AddUsbPrinter(UsbPath(L"vid_d23c&pid_0001", L"1"), n, ""); }
};

TEST_F(FillPortListTest, TheMakersUsbPortIsSelectedInSpoolerOrder) {
  M().spooler.ports = {L"LPT1:", L"COM1:", L"USB003"};
  UsbPortNumber(3);
  PortListRows page = FillPortList(nullptr);
  EXPECT_EQ(page.rows, (Rows{L"LPT1:", L"COM1:", L"USB003"}));
  EXPECT_EQ(page.selected, 2);
  EXPECT_TRUE(page.result);
}

TEST_F(FillPortListTest, TheTargetIsASubstringTheFirstRowWins) {
  M().spooler.ports = {L"XUSB003", L"USB003"};
  UsbPortNumber(3);
  EXPECT_EQ(FillPortList(nullptr).selected, 0);
}

TEST_F(FillPortListTest, WithoutUsbPortTheFirstParallelPortAndFalse) {
  M().spooler.ports = {L"COM1:", L"LPT1:", L"LPT2:"};
  PortListRows page = FillPortList(nullptr);
  EXPECT_EQ(page.selected, 1);
  EXPECT_FALSE(page.result);
}

TEST_F(FillPortListTest, NoMatchingRowNoSelectionAndTrue) {
  M().spooler.ports = {L"COM1:", L"FILE:"};
  UsbPortNumber(5);
  PortListRows page = FillPortList(nullptr);
  EXPECT_EQ(page.selected, -1);
  EXPECT_TRUE(page.result);
  M().devices.devices.clear();
  page = FillPortList(nullptr);
  EXPECT_EQ(page.selected, -1);
  EXPECT_TRUE(page.result);
  EXPECT_TRUE(M().windows.messageBoxes.empty());
}

TEST_F(FillPortListTest, EnumerationFailuresShowTheirBoxAndGiveFalse) {
  M().spooler.ports.clear();  // the size query needs no buffer
  plat::Handle wizard = reinterpret_cast<plat::Handle>(0x77);
  PortListRows page = FillPortList(wizard);
  EXPECT_FALSE(page.result);
  EXPECT_TRUE(page.rows.empty());
  M().spooler.ports = {L"LPT1:"};
  M().faults.Fail("EnumPortsW", plat::kErrorInvalidParameter, 2);
  EXPECT_FALSE(FillPortList(wizard).result);
  ASSERT_EQ(M().windows.messageBoxes.size(), 2u);
  EXPECT_EQ(M().windows.messageBoxes[0].text, L"无法查找当前设备端口列表!");
  EXPECT_EQ(M().windows.messageBoxes[1].text, L"枚举当前设备端口失败!");
  for (const auto& box : M().windows.messageBoxes) {
    EXPECT_EQ(box.owner, wizard);
    EXPECT_EQ(box.caption, L"安装提示");
    EXPECT_EQ(box.style, plat::kMbIconInformation);
  }
  EXPECT_EQ(M().transcript.Count("SetupDiGetClassDevsW"), 0u);
}

}  // namespace
