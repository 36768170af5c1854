#include "engine/protected_copy.h"

#include <string>

#include "engine/error_report.h"
#include "engine/install_log.h"
#include "engine/service_control.h"
#include "engine/service_sequence.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/kernel.h"

namespace {

constexpr uint32_t kAfterStopPauseMs = 2000;  // lets the stopped spooler release its files
constexpr uint32_t kAfterStartPauseMs = 1000;

// The whole file, its length taken as a 32-bit count; false when it cannot be opened.
bool ReadWholeFile(const std::wstring& path, uint32_t shareMode, std::string& bytes) {
  plat::FileHandle file(plat::CreateFileW(path, plat::kGenericRead, shareMode, plat::kOpenExisting));
  if (!file) return false;
  uint64_t size = 0;
  plat::GetFileSize(file.get(), size);
  bytes.assign(static_cast<uint32_t>(size), '\0');
  uint32_t read = 0;
  if (!bytes.empty()) plat::ReadFile(file.get(), bytes.data(), static_cast<uint32_t>(bytes.size()), read);
  bytes.resize(read);
  return true;
}

void ClearReadOnly(const std::wstring& path) {
  uint32_t attributes = plat::GetFileAttributesW(path);
  if (attributes != plat::kInvalidFileAttributes)
    plat::SetFileAttributesW(path, attributes & ~plat::kFileAttributeReadonly);
}

// Stop, pause, overwrite, start: no other service sequence may start the
// spooler in between. False when the spooler could not be stopped or started.
bool StopCopyStart(const std::wstring& source, const std::wstring& destination, bool& copied) {
  ServiceSequence sequence;
  if (!StopServiceByName(L"Spooler")) {
    WriteInstallLog(L"关闭Spooler服务失败", false);
    return false;
  }
  plat::Sleep(kAfterStopPauseMs);
  ClearReadOnly(destination);
  copied = plat::CopyFileW(source, destination, false);
  if (!StartServiceAndWait(L"Spooler")) {
    WriteInstallLog(L"开启Spooler服务失败", false);
    return false;
  }
  plat::Sleep(kAfterStartPauseMs);
  return true;
}

// The overwrite with the spooler stopped around it; the error box waits
// outside the sequence.
bool CopyWithSpoolerStopped(const std::wstring& source, const std::wstring& destination) {
  bool copied = false;
  if (!StopCopyStart(source, destination, copied)) return false;
  if (!copied) ShowErrorCode(L"2");
  return copied;
}

}  // namespace

bool FilesIdentical(const std::wstring& source, const std::wstring& destination) {
  std::string destinationBytes, sourceBytes;
  constexpr uint32_t kShareAll = plat::kFileShareRead | plat::kFileShareWrite | plat::kFileShareDelete;
  if (!ReadWholeFile(destination, kShareAll, destinationBytes)) return false;
  if (!ReadWholeFile(source, 0, sourceBytes)) return false;
  return destinationBytes == sourceBytes;
}

bool CopyFileProtected(const std::wstring& source, const std::wstring& destination) {
  if (plat::CopyFileW(source, destination, true)) return true;
  if (plat::GetLastError() != plat::kErrorFileExists) {
    ShowErrorCode(L"2");
    return false;
  }
  if (FilesIdentical(source, destination)) return true;
  if (plat::CopyFileW(source, destination, false)) return true;
  uint32_t error = plat::GetLastError();
  if (error != plat::kErrorAccessDenied && error != plat::kErrorSharingViolation) return false;
  return CopyWithSpoolerStopped(source, destination);
}
