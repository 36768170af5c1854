// Base fixture of the host tests: a fresh simulated machine for every case,
// and a recorder in place of the error box.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/code_page.h"
#include "discovery/device_id.h"
#include "platform/sim/machine.h"
#include "report/error_report.h"
#include "report/install_log.h"

class SimTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sim::machine().Reset();
    s_nLogIndex = 1;
    ErrorBoxes().clear();
    SetErrorPresenter(&RecordErrorBox);
  }
  void TearDown() override { SetErrorPresenter(nullptr); }

  static sim::Machine& M() { return sim::machine(); }

  // Every error code shown, in order.
  static std::vector<std::wstring>& ErrorBoxes() {
    static std::vector<std::wstring> boxes;
    return boxes;
  }

  // The log file's entries (each closed by its zero byte), as raw ANSI bytes.
  static std::vector<std::string> LogEntries(int index = 1) {
    std::string bytes = M().fs.Contents(L"C:\\users\\Quillex\\Documents\\Tovanta\\Log(" + std::to_wstring(index) + L").txt");
    std::vector<std::string> entries;
    size_t start = 0;
    for (size_t zero = bytes.find('\0'); zero != std::string::npos; zero = bytes.find('\0', start)) {
      entries.push_back(bytes.substr(start, zero - start));
      start = zero + 1;
    }
    return entries;
  }

  // The message part of each log entry (the time stamp cut off), as UTF-16.
  static std::vector<std::wstring> LogMessages(int index = 1) {
    std::vector<std::wstring> messages;
    for (const std::string& entry : LogEntries(index)) {
      std::string message = entry.substr(0, entry.rfind("     "));
      messages.push_back(AnsiToWide(message.data(), static_cast<int>(message.size())));
    }
    return messages;
  }

 private:
  static void RecordErrorBox(int code) { ErrorBoxes().push_back(std::to_wstring(code)); }
};
