#include <gtest/gtest.h>

#include "base/code_page.h"
#include "discovery/device_id.h"
#include "sim_test.h"

namespace {

DeviceIdFields Parse(const std::string& reply) {
  return ParseDeviceId(AnsiToWide(reply.data(), static_cast<int>(reply.size())));
}

class DeviceIdTest : public SimTest {};

TEST_F(DeviceIdTest, StandardIdGivesManufacturerAndModel) {
  DeviceIdFields f = Parse("MFG:ACME;MDL:X-1;CLS:PRINTER;");
  EXPECT_EQ(f.manufacturer, L"ACME");
  EXPECT_EQ(f.model, L"X-1");
  EXPECT_TRUE(f.accepted());
}

TEST_F(DeviceIdTest, LastFieldWithoutSemicolonIsNotRead) {
  DeviceIdFields f = Parse("MFG:ACME;MDL:X-1");
  EXPECT_EQ(f.model, L"");
  EXPECT_TRUE(f.accepted());
}

TEST_F(DeviceIdTest, IdsWithoutManufacturerAreRejectedAndGiveNoModel) {
  for (const char* id : {"MFG:;MDL:X-1;", "mfg:acme;mdl:x;", "MANUFACTURER:ACME;MODEL:X-1;", "MDL:X-1;"}) {
    DeviceIdFields f = Parse(id);
    EXPECT_FALSE(f.accepted()) << id;
    EXPECT_EQ(f.model, L"") << id;
  }
}

TEST_F(DeviceIdTest, LeadingWhiteSpaceGoesTrailingStays) {
  DeviceIdFields f = Parse("MFG: ACME ;MDL:  X-1 ;");
  EXPECT_EQ(f.manufacturer, L"ACME ");
  EXPECT_EQ(f.model, L"X-1 ");
  EXPECT_EQ(GetDeviceIdField(L"MDL:\t\r\n\v\f\x3000\xA0X;", L"MDL:"), L"X");
}

TEST_F(DeviceIdTest, FirstOccurrenceOfKeyWinsEvenInsideAnotherValue) {
  EXPECT_EQ(Parse("DES:OLD MDL:A;MDL:B;MFG:ACME;").model, L"A");
}

TEST_F(DeviceIdTest, EmptyOrZeroLeadingRepliesGiveEmptyText) {
  EXPECT_EQ(AnsiToWide("", 0), L"");
  std::string zero("\0MFG:ACME;MDL:X;", 16);
  EXPECT_EQ(AnsiToWide(zero.data(), static_cast<int>(zero.size())), L"");
  EXPECT_FALSE(Parse(zero).accepted());
}

TEST_F(DeviceIdTest, EmbeddedZeroByteEndsTheText) {
  std::string reply("MFG:ACME;\0MDL:X;", 16);
  EXPECT_EQ(AnsiToWide(reply.data(), static_cast<int>(reply.size())), L"MFG:ACME;");
}

TEST_F(DeviceIdTest, AnsiIsCodePage936BothWays) {
  const std::string gbk = "MFG:\xC8\xF0\xC1\xE8;MDL:\xB4\xF2\xD3\xA1\xBB\xFA;";  // 瑞凌 / 打印机
  DeviceIdFields f = Parse(gbk);
  EXPECT_EQ(f.manufacturer, L"瑞凌");
  EXPECT_EQ(f.model, L"打印机");
  EXPECT_EQ(WideToAnsi(L"打印机"), "\xB4\xF2\xD3\xA1\xBB\xFA");
  EXPECT_EQ(WideToAnsi(std::wstring(L"ab\0cd", 5)), "ab");
  EXPECT_EQ(WideToAnsi(L""), "");
}

TEST_F(DeviceIdTest, WhiteSpaceTestIsExplicit) {
  for (wchar_t c : {L' ', L'\t', L'\n', L'\v', L'\f', L'\r', L'\x3000', L'\x2003', L'\xA0'}) EXPECT_TRUE(IsWideSpace(c));
  for (wchar_t c : {L'A', L'0', L'\x0', L'\x200B', L'打'}) EXPECT_FALSE(IsWideSpace(c));
}

}  // namespace
