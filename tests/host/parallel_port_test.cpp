#include <gtest/gtest.h>

#include "discovery/parallel_port.h"
#include "discovery_machine.h"

namespace {

using discovery_machine::AddParallelPort;

const std::wstring kPortId = L"ACPI\\PNP0401\\1";
const std::string kQx300 = "MFG:Quillex;MDL:QX-300;";

class ParallelPortTest : public SimTest {
 protected:
  std::wstring model, manufacturer;
};

TEST_F(ParallelPortTest, NoParallelPortNoNameNoOpenNoLog) {
  M().devices.AddDevice(L"ACPI\\PNP0501\\1", {}, M().devices.classNames[L"PORTS"][0]).friendlyName =
      L"Communications Port (COM1)";
  EXPECT_EQ(FindParallelPortName(kParallelPortFilter), L"");
  EXPECT_FALSE(OpenParallelPrinter(kParallelPortFilter).valid());
  EXPECT_EQ(M().transcript.Calls().back().detail, L"\\\\.\\");
  EXPECT_TRUE(LogEntries().empty());
}

TEST_F(ParallelPortTest, AMakerChildAppearingAfterARescanNamesThePort) {
  AddParallelPort(kPortId, L"ECP Printer Port (LPT1)", L"LPT1", kQx300);
  M().devices.AddChild(kPortId, L"LPTENUM\\QuillexQX-30012AB\\1&7&0&LPT1", 2);
  EXPECT_EQ(FindParallelPortName(kParallelPortFilter), L"LPT1");
  EXPECT_EQ(M().devices.Find(kPortId)->reenumerations, 2);
  EXPECT_EQ(M().clock.Sleeps(), (std::vector<uint32_t>{0}));
  plat::FileHandle port = OpenParallelPrinter(kParallelPortFilter);
  EXPECT_TRUE(ReadParallelDeviceId(std::move(port), model, manufacturer));
  EXPECT_EQ(model, L"QX-300");
  EXPECT_TRUE(M().devices.openEndpoints.empty());
}

TEST_F(ParallelPortTest, OnlyOtherMakesThreeRescansThenTheFriendlyName) {
  AddParallelPort(kPortId, L"ECP Printer Port (LPT1)", L"LPT1", kQx300);
  M().devices.AddChild(kPortId, L"LPTENUM\\OtherLQ-1\\1&7&0&LPT3");
  EXPECT_EQ(FindParallelPortName(kParallelPortFilter), L"LPT1");
  EXPECT_EQ(M().transcript.Count("CM_Reenumerate_DevNode"), 3u);
  EXPECT_EQ(M().clock.Sleeps(), (std::vector<uint32_t>{0, 0, 0}));
}

TEST_F(ParallelPortTest, TheMakersPrinterAmongSiblingsIsFound) {
  AddParallelPort(kPortId, L"ECP Printer Port (LPT1)", L"LPT1", kQx300);
  M().devices.AddChild(kPortId, L"LPTENUM\\OtherLQ-1\\1");
  M().devices.AddChild(kPortId, L"LPTENUM\\QuillexQX-300\\1&7&0&LPT2");
  EXPECT_EQ(FindParallelPortName(kParallelPortFilter), L"LPT2");
  EXPECT_EQ(M().transcript.Count("CM_Reenumerate_DevNode"), 1u);
}

TEST_F(ParallelPortTest, WithoutParenthesesTheNameIsTheFirstFourCharacters) {
  AddParallelPort(kPortId, L"LPT2 Port", L"LPT2", kQx300);
  EXPECT_EQ(FindParallelPortName(kParallelPortFilter), L"LPT2");
}

TEST_F(ParallelPortTest, ARefusedReenumerationIsLoggedAndEndsTheRescan) {
  AddParallelPort(kPortId, L"ECP Printer Port (LPT1)", L"LPT1", kQx300);
  M().faults.Fail("CM_Reenumerate_DevNode", 0x33);
  EXPECT_EQ(FindParallelPortName(kParallelPortFilter), L"LPT1");
  EXPECT_EQ(M().transcript.Count("CM_Reenumerate_DevNode"), 1u);
  const std::vector<std::wstring> log = LogMessages();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].find(L"CM_Reenumerate_DevNode   failed:   33\n "), 0u);
  EXPECT_EQ(log[1].find(L"ScanForHardwareChanges Failure"), 0u);
}

TEST_F(ParallelPortTest, DeviceIdsWithoutManufacturerFailLongValuesAreCut) {
  AddParallelPort(kPortId, L"ECP Printer Port (LPT1)", L"LPT1", "MDL:QX-300;");
  EXPECT_FALSE(ReadParallelDeviceId(OpenParallelPrinter(kParallelPortFilter), model, manufacturer));
  M().devices.endpoints[L"\\\\.\\LPT1"].reply = "MFG:Quillex;MDL:" + std::string(300, 'Q') + ";";
  EXPECT_TRUE(ReadParallelDeviceId(OpenParallelPrinter(kParallelPortFilter), model, manufacturer));
  EXPECT_EQ(model, std::wstring(259, L'Q'));
}

TEST_F(ParallelPortTest, APortHeldByAnotherProgramCannotBeOpened) {
  AddParallelPort(kPortId, L"ECP Printer Port (LPT1)", L"LPT1", kQx300);
  M().devices.endpoints[L"\\\\.\\LPT1"].heldElsewhere = true;
  EXPECT_FALSE(OpenParallelPrinter(kParallelPortFilter).valid());
  M().devices.endpoints[L"\\\\.\\LPT1"].heldElsewhere = false;
  plat::FileHandle first = OpenParallelPrinter(kParallelPortFilter);
  EXPECT_TRUE(first.valid());
  EXPECT_FALSE(OpenParallelPrinter(kParallelPortFilter).valid());
}

}  // namespace
