#include <gtest/gtest.h>

#include "catalog/inf_file_helper.h"
#include "platform/error.h"
#include "platform/files.h"
#include "sim_test.h"

namespace {

using List = std::vector<std::wstring>;
const std::wstring kInf = L"C:\\Setup\\24Pin\\X64\\24Pin.inf";

class InfFileHelperTest : public SimTest {
 protected:
  void Use32BitWindows() { M().kernel.nativeArchitecture = plat::kProcessorArchitectureIntel; }

  // The models section of `inf` as ReadModels gives it; `found` its result.
  List Models(const std::string& inf, bool* found = nullptr) {
    M().fs.AddFile(kInf, inf);
    CInfFileHelper helper;
    EXPECT_TRUE(helper.Open(kInf));
    List models{L"stale"};
    bool ok = helper.ReadModels(models);
    if (found) *found = ok;
    return models;
  }
};

TEST_F(InfFileHelperTest, EntriesAreTheTrimmedTextBehindTheFirstComma) {
  Use32BitWindows();
  EXPECT_EQ(Models("[Quillex_Tech]\n"
                   "\"QX-630K\" = QX630K, USBPRINT\\QuillexQX-630K7B2E\n"
                   "\"QX-630K USB\"=QX630K,USB\\VID_D23C&PID_0001\n"
                   "\"QX-2\" = QX2, USBPRINT\\QX2, LPTENUM\\QX2\n"
                   "\"QX-3\" = QX3, USBPRINT\\QX3 ; last model\n"
                   "\"QX-4\" = no comma here\n"
                   "\t  \"QX-5\" = QX5, USBPRINT\\QX5   \t\n"
                   "   ; \"QX-6\" = QX6, USBPRINT\\QX6\n"
                   "\n"
                   "\"QX-7\" = QX7,\n"
                   "\"QX, 8\" = QX8, USBPRINT\\QX8\n"
                   "[Strings]\n"
                   "\"QX-9\" = QX9, USBPRINT\\QX9\n"),
            (List{L"USBPRINT\\QuillexQX-630K7B2E", L"USB\\VID_D23C&PID_0001", L"USBPRINT\\QX2, LPTENUM\\QX2",
                  L"USBPRINT\\QX3 ; last model", L"USBPRINT\\QX5", L"", L"8\" = QX8, USBPRINT\\QX8"}));
}

TEST_F(InfFileHelperTest, AnyLineWithABracketEndsTheSection) {
  Use32BitWindows();
  EXPECT_EQ(Models("[Quillex_Tech]\nA = a, ID1\nB = b, ID[2]\nC = c, ID3\n"), (List{L"ID1"}));
}

TEST_F(InfFileHelperTest, HeaderIsFoundLiterallyAnywhereOnItsLineFirstOccurrenceWins) {
  Use32BitWindows();
  bool found = true;
  EXPECT_EQ(Models("[quillex_tech]\nA = a, ID1\n", &found), List{});
  EXPECT_FALSE(found);
  EXPECT_EQ(Models(";[Quillex_Tech]\nA = a, ID1\n[Quillex_Tech]\nB = b, ID2\n"), (List{L"ID1"}));
  EXPECT_EQ(Models("x [Quillex_Tech] y\nA = a, ID1\n"), (List{L"ID1"}));
  EXPECT_EQ(Models("[Quillex_Tech]\n[Strings]\n", &found), List{});
  EXPECT_TRUE(found);  // present but empty
}

TEST_F(InfFileHelperTest, ModelsSectionFollowsTheNativeArchitectureOnEveryCall) {
  M().fs.AddFile(kInf, "[Quillex_Tech]\nA = a, ID32\n[Quillex_Tech.NTamd64]\nA = a, ID64\n");
  CInfFileHelper helper;
  ASSERT_TRUE(helper.Open(kInf));
  List models;
  ASSERT_TRUE(helper.ReadModels(models));
  EXPECT_EQ(models, (List{L"ID64"}));
  Use32BitWindows();
  ASSERT_TRUE(helper.ReadModels(models));
  EXPECT_EQ(models, (List{L"ID32"}));

  M().kernel.nativeArchitecture = plat::kProcessorArchitectureAmd64;
  bool found = true;
  EXPECT_EQ(Models("[Quillex_Tech]\nA = a, ID32\n", &found), List{});
  EXPECT_FALSE(found);
}

TEST_F(InfFileHelperTest, LinesEndAtLfWithCrDroppedAndBytesKeepTheirCode) {
  Use32BitWindows();
  std::string longId(70000, 'Q');  // longer than any read chunk
  EXPECT_EQ(Models("[Quillex_Tech]\r\nA = a, ID1\r\n\r\nB = b,\xB2\xE2\r\nC = c, " + longId + "\r\nD = d, LAST"),
            (List{L"ID1", L"\xB2\xE2", std::wstring(longId.begin(), longId.end()), L"LAST"}));
  EXPECT_EQ(Models("[Quillex_Tech]\nA = a, ID\rX\n"), (List{L"ID\rX"}));  // a lone CR is text
}

TEST_F(InfFileHelperTest, Utf16InfYieldsNoSection) {
  std::wstring text = L"[Manufacturer]\r\n\"Q\"=Quillex_Tech,NTamd64\r\n[Quillex_Tech.NTamd64]\r\nA = a, ID\r\n";
  std::string bytes = "\xFF\xFE";
  for (wchar_t c : text) bytes += {static_cast<char>(c), '\0'};
  bool found = true;
  EXPECT_EQ(Models(bytes, &found), List{});
  EXPECT_FALSE(found);
  List models;
  EXPECT_TRUE(ReadCatalogModels(kInf, models));  // it opens, but holds nothing
  EXPECT_EQ(models, List{});
}

TEST_F(InfFileHelperTest, ReadFailureIsReportedNotTakenForTheEndOfTheSection) {
  M().faults.Fail("ReadFile", plat::kErrorAccessDenied, 2);
  bool found = true;
  EXPECT_EQ(Models("[Quillex_Tech.NTamd64]\nA = a, ID1\n", &found), List{});
  EXPECT_FALSE(found);
  EXPECT_EQ(plat::GetLastError(), plat::kErrorAccessDenied);
}

TEST_F(InfFileHelperTest, OpensSharedAndFailsCleanlyWithoutAFile) {
  M().fs.AddFile(kInf, "[Manufacturer]\n");
  CInfFileHelper helper;
  ASSERT_TRUE(helper.Open(kInf));
  plat::FileHandle writer(plat::CreateFileW(kInf, plat::kGenericWrite, plat::kFileShareRead | plat::kFileShareWrite,
                                            plat::kOpenExisting));
  EXPECT_TRUE(writer.valid());

  CInfFileHelper missing;
  EXPECT_FALSE(missing.Open(L"C:\\Setup\\none.inf"));
  List list{L"stale"};
  EXPECT_FALSE(missing.ReadManufacturers(list));
  EXPECT_EQ(list, List{});
}

// The models section does not depend on the manufacturer entry: it is held
// once however many entries there are, and not at all without one.
TEST_F(InfFileHelperTest, CatalogHoldsTheModelsOnceForAnyNumberOfManufacturerEntries) {
  const std::string models = "[Quillex_Tech.NTamd64]\nA = a, ID1\nB = b, ID2\n";
  M().fs.AddFile(kInf, "[Manufacturer]\n\"Quillex\" = Quillex_Tech, NTamd64\n; comment\nOther = Other\n" + models);
  List list;
  ASSERT_TRUE(ReadCatalogModels(kInf, list));
  EXPECT_EQ(list, (List{L"ID1", L"ID2"}));

  M().fs.AddFile(kInf, "[Manufacturer]\n[Strings]\n" + models);
  ASSERT_TRUE(ReadCatalogModels(kInf, list));
  EXPECT_EQ(list, List{});
  EXPECT_FALSE(ReadCatalogModels(L"C:\\Setup\\none.inf", list));
}

// 32 KB with thousands of manufacturer entries and models lines: one pass of
// 4 KB reads, and the entries held once.
TEST_F(InfFileHelperTest, CatalogOfThousandsOfEntriesIsReadInOnePass) {
  std::string inf = "[Manufacturer]\r\n";
  for (int i = 0; i < 2000; ++i) inf += "Q=x\r\n";
  inf += "[Quillex_Tech.NTamd64]\r\n";
  for (int i = 0; i < 1500; ++i) inf += "A=a,USB\\Q" + std::to_string(1000 + i) + "\r\n";
  ASSERT_GT(inf.size(), 32000u);
  M().fs.AddFile(kInf, inf);
  List list;
  ASSERT_TRUE(ReadCatalogModels(kInf, list));
  EXPECT_EQ(list.size(), 1500u);
  EXPECT_EQ(list.back(), L"USB\\Q2499");
  EXPECT_EQ(M().transcript.Count("ReadFile"), (inf.size() + 4095) / 4096 + 1);  // the last read finds the end
  EXPECT_TRUE(CInfFileHelper::MatchHardwareId(list, L"USB\\Q2499&REV_0100"));
}

TEST_F(InfFileHelperTest, OnePassReadsBothSectionsInAnyOrderAndStopsBehindThem) {
  std::string tail(20000, ';');  // read only when a section is still open
  M().fs.AddFile(kInf, "[Quillex_Tech.NTamd64] [Manufacturer]\nA = a, ID1\n[Strings]\n" + tail);
  CInfFileHelper helper;
  ASSERT_TRUE(helper.Open(kInf));
  List manufacturers{L"stale"}, models{L"stale"};
  ASSERT_TRUE(helper.ReadCatalog(manufacturers, models));
  EXPECT_EQ(manufacturers, (List{L"a, ID1"}));  // both sections start on the same line
  EXPECT_EQ(models, (List{L"ID1"}));
  EXPECT_EQ(M().transcript.Count("ReadFile"), 1u);

  M().fs.AddFile(kInf, "[Quillex_Tech.NTamd64]\nA = a, ID1\n[Manufacturer]\nQ = x\n");
  ASSERT_TRUE(helper.Open(kInf));
  ASSERT_TRUE(helper.ReadCatalog(manufacturers, models));
  EXPECT_EQ(manufacturers, (List{L"x"}));
  EXPECT_EQ(models, (List{L"ID1"}));

  M().faults.Fail("ReadFile", plat::kErrorAccessDenied);
  EXPECT_FALSE(helper.ReadCatalog(manufacturers, models));
  EXPECT_EQ(manufacturers, List{});
  EXPECT_EQ(models, List{});
}

TEST(MatchHardwareIdTest, CaseOfLettersIsIgnoredAndAPrefixNeedsASeparatorBehind) {
  const List models{L"usbprint\\quillexqx-630k7b2e", L"USB\\VID_D23C&PID_0001"};
  EXPECT_TRUE(CInfFileHelper::MatchHardwareId(models, L"USBPRINT\\QuillexQX-630K7B2E"));
  EXPECT_TRUE(CInfFileHelper::MatchHardwareId(models, L"USB\\VID_D23C&PID_0001&REV_0100"));
  EXPECT_TRUE(CInfFileHelper::MatchHardwareId(models, L"USB\\VID_D23C&PID_0001_X"));
  EXPECT_FALSE(CInfFileHelper::MatchHardwareId(models, L"USB\\VID_D23C&PID_00012"));
  EXPECT_FALSE(CInfFileHelper::MatchHardwareId(models, L"USB\\VID_D23C"));
  EXPECT_FALSE(CInfFileHelper::MatchHardwareId({}, L"USB\\VID_D23C&PID_0001"));
}

TEST(MatchHardwareIdTest, EmptyEntryMatchesOnlyAnEmptyIdOrALeadingSeparator) {
  EXPECT_TRUE(CInfFileHelper::MatchHardwareId({L""}, L""));
  EXPECT_TRUE(CInfFileHelper::MatchHardwareId({L""}, L"#X"));
  EXPECT_FALSE(CInfFileHelper::MatchHardwareId({L""}, L"USB\\X&1"));
}

// An entry found inside the ID is judged by the character right behind it,
// not by the character at the entry's length.
TEST(MatchHardwareIdTest, InnerOccurrenceIsJudgedByWhatFollowsIt) {
  EXPECT_TRUE(CInfFileHelper::MatchHardwareId({L"QX-630K7B2E"}, L"USBPRINT\\QuillexQX-630K7B2E"));  // [11] is 'I'
  EXPECT_FALSE(CInfFileHelper::MatchHardwareId({L"QX-630K"}, L"LPTENUM#QX-630K7B2E"));              // [7] is '#'
  // Every occurrence is tried: the first is followed by '7', the second by '&'.
  EXPECT_TRUE(CInfFileHelper::MatchHardwareId({L"QX-630K"}, L"QX-630K7\\QX-630K&REV_1"));
}

}  // namespace
