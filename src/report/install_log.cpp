#include "report/install_log.h"

#include "base/code_page.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/kernel.h"
#include "platform/shell.h"

std::atomic<int> s_nLogIndex{1};

namespace {

constexpr uint64_t kLogFileLimit = 0x100000;  // 1 MiB: a file this long is full
// Opens of one entry, over all indexes: the bound on how long a writer tries.
constexpr int kOpenAttempts = 50;
// Another writer holds the file (it is opened without sharing): it is waited
// for this many times before the entry moves on to the next index.
constexpr int kSharedOpenAttempts = 25;
constexpr uint32_t kOpenRetryPauseMs = 20;

bool LogFolder(std::wstring& folder) {
  std::wstring documents;
  if (!plat::SHGetSpecialFolderPathW(plat::kCsidlPersonal, documents) || documents.empty()) return false;
  folder = documents + L"\\" + L"Tovanta" + L"\\";
  return true;
}

std::wstring LogFileName(const std::wstring& folder, int index) {
  return folder + L"Log" + L"(" + std::to_wstring(index) + L")" + L".txt";
}

// Appends the entry to Log(N).txt for the first N from `index` whose file
// is below 1 MiB, leaving `index` at that N. False, with the reason, when
// that file could not be opened or measured.
bool AppendToLog(const std::wstring& folder, const std::string& entry, int& index, uint32_t& openError) {
  for (;; ++index) {
    plat::FileHandle file(
        plat::CreateFileW(LogFileName(folder, index), plat::kGenericWrite | plat::kGenericRead, 0, plat::kOpenAlways));
    uint64_t size = 0;
    if (!file || !plat::GetFileSize(file.get(), size)) {
      openError = plat::GetLastError();
      return false;
    }
    if (size >= kLogFileLimit) continue;
    s_nLogIndex = index;
    uint32_t written = 0;
    plat::SetFilePointerToEnd(file.get());
    plat::WriteFile(file.get(), entry.c_str(), static_cast<uint32_t>(entry.size() + 1), written);  // with its zero byte
    return true;
  }
}

// A file held by another writer is waited for a while; any other failure,
// or one held too long, gives the entry to the next index at once. An index
// that cannot be written to must not cost the entry while the bound lasts.
void AppendWithinBound(const std::wstring& folder, const std::string& entry) {
  int index = s_nLogIndex, sharedAttempts = 0;
  for (int attempt = 1; attempt <= kOpenAttempts; ++attempt) {
    uint32_t openError = 0;
    if (AppendToLog(folder, entry, index, openError)) return;
    if (openError == plat::kErrorSharingViolation && ++sharedAttempts < kSharedOpenAttempts) {
      plat::Sleep(kOpenRetryPauseMs);
      continue;
    }
    ++index;
    sharedAttempts = 0;
  }
}

}  // namespace

std::wstring FormatLogMessage(const std::wstring& text, bool withErrorCode, unsigned long errorCode,
                              const std::wstring& systemText) {
  if (!withErrorCode) return text;
  std::wstring code = std::to_wstring(static_cast<int>(errorCode));  // "%d"
  if (errorCode != 0) return text + L" failed with error " + code + L": " + systemText;
  return text + L" succeed:  " + code + L": " + systemText;
}

std::wstring FormatLogTimeStamp(int day, int month, int year, int hour, int minute, int second, int ms) {
  using std::to_wstring;
  return L"     " + to_wstring(day) + L"-" + to_wstring(month) + L"-" + to_wstring(year) + L"," + to_wstring(hour) +
         L":" + to_wstring(minute) + L":" + to_wstring(second) + L":" + to_wstring(ms) + L" \r\n";
}

void WriteInstallLog(const std::wstring& text, bool withErrorCode) {
  const uint32_t errorCode = withErrorCode ? plat::GetLastError() : 0;  // before any other platform call

  plat::SystemTime now;
  plat::GetLocalTime(now);
  std::wstring stamp = FormatLogTimeStamp(now.day, now.month, now.year, now.hour, now.minute, now.second,
                                          now.milliseconds);

  std::wstring folder;
  if (!LogFolder(folder)) return;
  plat::CreateDirectoryW(folder);

  std::wstring systemText;
  if (withErrorCode && !plat::FormatMessageW(errorCode, systemText)) systemText.clear();
  std::string entry = WideToAnsi(FormatLogMessage(text, withErrorCode, errorCode, systemText) + stamp);

  AppendWithinBound(folder, entry);
}
