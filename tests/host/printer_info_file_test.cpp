#include <gtest/gtest.h>

#include <vector>

#include "catalog/printer_info_file.h"
#include "sim_test.h"

namespace {

class PrinterInfoFileTest : public SimTest {
 protected:
  // A GBK file whose model section holds `body`.
  void WriteModels(const std::string& body) {
    M().fs.AddFile(L"C:\\Setup\\PrinterInfo.ini", "[82\xC1\xD0\xC6\xB1\xBE\xDD\xB4\xF2\xD3\xA1\xBB\xFA]\r\n" + body);
  }
  std::vector<std::wstring> entries = std::vector<std::wstring>(4);
};

TEST_F(PrinterInfoFileTest, PathLiesBesideTheExecutable) {
  EXPECT_EQ(CPrinterInfoFile().Path(), L"C:\\Setup\\PrinterInfo.ini");
  M().kernel.moduleFileName = L"QuillexSetup.exe";
  EXPECT_EQ(CPrinterInfoFile().Path(), L"PrinterInfo.ini");
  EXPECT_EQ(M().transcript.Count("CreateFileW"), 0u);
}

TEST_F(PrinterInfoFileTest, EntriesUpToCountsInKeyOrderAMissingKeyEmpty) {
  WriteModels("Counts=3\r\n2=QX-730K\r\n0=QX-630K\r\n3=QX-999\r\n");
  EXPECT_EQ(CPrinterInfoFile().ReadNumberedList(kModelSection, entries), 3);
  EXPECT_EQ(entries, (std::vector<std::wstring>{L"QX-630K", L"", L"QX-730K", L""}));
}

TEST_F(PrinterInfoFileTest, NoPositiveCountReadsNoKey) {
  for (const char* counts : {"0", "-2", "abc"}) {
    WriteModels(std::string("Counts=") + counts + "\r\n0=QX-630K\r\n");
    M().transcript.Clear();
    EXPECT_LE(CPrinterInfoFile().ReadNumberedList(kModelSection, entries), 0) << counts;
    EXPECT_EQ(M().transcript.Count("GetPrivateProfileStringW"), 0u) << counts;
  }
}

TEST_F(PrinterInfoFileTest, ACountBeyondTheTableReadsOnlyWhatFits) {
  WriteModels("Counts=600\r\n3=QX-300\r\n4=QX-350\r\n");
  EXPECT_EQ(CPrinterInfoFile().ReadNumberedList(kModelSection, entries), 600);
  EXPECT_EQ(entries[3], L"QX-300");
  EXPECT_EQ(M().transcript.Count("GetPrivateProfileStringW"), 4u);
}

}  // namespace
