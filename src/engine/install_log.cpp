#include "engine/install_log.h"

#include "discovery/device_id.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/kernel.h"
#include "platform/shell.h"

std::atomic<int> s_nLogIndex{1};

namespace {

constexpr uint64_t kLogFileLimit = 0x100000;  // 1 MiB: a file this long is full
// Another writer holds the file (it is opened without sharing): wait for it
// this many times before the entry is dropped.
constexpr int kOpenAttempts = 50;
constexpr uint32_t kOpenRetryPauseMs = 20;

// False when the documents folder is unknown: the log has no place then
// (an empty path would put it at the root of the current drive).
bool LogFolder(std::wstring& folder) {
  std::wstring documents;
  if (!plat::SHGetSpecialFolderPathW(plat::kCsidlPersonal, documents) || documents.empty()) return false;
  folder = documents + L"\\" + L"Tovanta" + L"\\";
  return true;
}

std::wstring LogFileName(const std::wstring& folder, int index) {
  return folder + L"Log" + L"(" + std::to_wstring(index) + L")" + L".txt";
}

// Appends the entry to Log(N).txt for the first N from s_nLogIndex whose file
// is below 1 MiB. False, with the reason, when a file could not be opened.
bool AppendToLog(const std::wstring& folder, const std::string& entry, uint32_t& openError) {
  for (int index = s_nLogIndex;; ++index) {
    plat::FileHandle file(
        plat::CreateFileW(LogFileName(folder, index), plat::kGenericWrite | plat::kGenericRead, 0, plat::kOpenAlways));
    if (!file) {
      openError = plat::GetLastError();
      return false;
    }
    uint64_t size = 0;
    if (!plat::GetFileSize(file.get(), size)) {
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

  for (int attempt = 1; attempt <= kOpenAttempts; ++attempt) {
    uint32_t openError = 0;
    if (AppendToLog(folder, entry, openError) || openError != plat::kErrorSharingViolation) return;
    plat::Sleep(kOpenRetryPauseMs);
  }
}
