// The INF model catalog and SetupAPI's class lookup against Wine's files and
// setupapi.dll, in both prefixes.
#include <gtest/gtest.h>
#include <windows.h>

#include "catalog/inf_file_helper.h"
#include "catalog/platform_probe.h"
#include "platform/devinst.h"
#include "wine_package.h"

namespace {

using List = std::vector<std::wstring>;
const plat::Guid kPrinterClass{0x4D36E979, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};

TEST(CatalogWinTest, ModelsSectionOfThePrefixArchitecture) {
  ASSERT_EQ(IsNative64Bit(), wine_package::PrefixIs64Bit());
  std::wstring inf = wine_package::Create() + wine_package::ArchFolder() + L"24Pin.inf";
  List models;
  ASSERT_TRUE(ReadCatalogModels(inf, models));
  if (wine_package::PrefixIs64Bit())
    EXPECT_EQ(models, (List{L"USBPRINT\\QuillexQX-630K7B2E", L"USBPRINT\\QuillexQX-730KA1C4"}));
  else
    EXPECT_EQ(models, (List{L"USBPRINT\\QuillexQX-630K7B2E", L"USB\\VID_D23C&PID_0001"}));
}

// The shipped sample package: both architecture folders list the four
// hardware IDs of the two 24-pin models, one per models line.
TEST(CatalogWinTest, SourcePackageInfOfThePrefixArchitecture) {
  std::wstring inf = wine_package::SourcePackageRoot() + wine_package::ArchFolder() + L"24Pin.inf";
  List models;
  ASSERT_TRUE(ReadCatalogModels(inf, models));
  EXPECT_EQ(models, (List{L"USBPRINT\\QuillexQX-630K7B2E", L"USB\\VID_D23C&PID_0001", L"USBPRINT\\QuillexQX-730K51C4",
                          L"USB\\VID_D23C&PID_0002"}));
  EXPECT_TRUE(CInfFileHelper::MatchHardwareId(models, L"USB\\VID_D23C&PID_0001&REV_0100"));
  plat::Guid guid;
  wchar_t name[260] = {};
  EXPECT_TRUE(plat::SetupDiGetINFClassW(inf, guid, name, 260));
  EXPECT_EQ(guid, kPrinterClass);
}

TEST(CatalogWinTest, SetupClassOfAnInf) {
  std::wstring root = wine_package::Create();
  plat::Guid guid;
  wchar_t name[260] = {};
  ASSERT_TRUE(plat::SetupDiGetINFClassW(root + L"24Pin\\X64\\24Pin.inf", guid, name, 260));
  EXPECT_EQ(std::wstring(name), L"Printer");
  EXPECT_EQ(guid, kPrinterClass);

  wine_package::WriteFile(root + L"plain.inf", "[Version]\r\nSignature=\"$Windows NT$\"\r\n");
  EXPECT_FALSE(plat::SetupDiGetINFClassW(root + L"plain.inf", guid, name, 260));
  EXPECT_FALSE(plat::SetupDiGetINFClassW(root + L"none.inf", guid, name, 260));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

}  // namespace
