#include "engine/protected_copy.h"

#include <string>
#include <vector>

#include "engine/service_control.h"
#include "engine/service_sequence.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/kernel.h"
#include "report/error_codes.h"
#include "report/error_report.h"
#include "report/install_log.h"

namespace {

constexpr uint32_t kAfterStopPauseMs = 2000;  // lets the stopped spooler release its files
constexpr uint32_t kAfterStartPauseMs = 1000;

// Reads up to `size` bytes, as many as the file still holds.
uint32_t ReadChunk(const plat::FileHandle& file, std::string& chunk, uint32_t size) {
  chunk.resize(size);
  uint32_t read = 0;
  if (!plat::ReadFile(file.get(), chunk.data(), size, read)) read = 0;
  chunk.resize(read);
  return read;
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
  std::vector<std::wstring> dependents;
  if (!StopSpooler(dependents)) {
    WriteInstallLog(L"关闭Spooler服务失败", false);
    return false;
  }
  plat::Sleep(kAfterStopPauseMs);
  ClearReadOnly(destination);
  copied = plat::CopyFileW(source, destination, false);
  if (!StartSpooler(dependents)) {
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
  if (!StopCopyStart(source, destination, copied)) {
    ShowErrorCode(kCodeSpooler);
    return false;
  }
  if (!copied) ShowErrorCode(kCodeFileCopy);
  return copied;
}

}  // namespace

// Compared piece by piece: a font of several megabytes is checked on every
// start, and two whole copies in memory would cost more than the reading.
bool FilesIdentical(const std::wstring& source, const std::wstring& destination) {
  constexpr uint32_t kShareAll = plat::kFileShareRead | plat::kFileShareWrite | plat::kFileShareDelete;
  plat::FileHandle destinationFile(plat::CreateFileW(destination, plat::kGenericRead, kShareAll, plat::kOpenExisting));
  if (!destinationFile) return false;
  plat::FileHandle sourceFile(plat::CreateFileW(source, plat::kGenericRead, 0, plat::kOpenExisting));
  if (!sourceFile) return false;
  uint64_t destinationSize = 0, sourceSize = 0;
  plat::GetFileSize(destinationFile.get(), destinationSize);
  plat::GetFileSize(sourceFile.get(), sourceSize);
  if (destinationSize != sourceSize) return false;
  constexpr uint32_t kChunkBytes = 64 * 1024;
  std::string destinationChunk, sourceChunk;
  for (;;) {
    const uint32_t read = ReadChunk(destinationFile, destinationChunk, kChunkBytes);
    if (ReadChunk(sourceFile, sourceChunk, kChunkBytes) != read || sourceChunk != destinationChunk) return false;
    if (read < kChunkBytes) return true;
  }
}

bool CopyFileProtected(const std::wstring& source, const std::wstring& destination) {
  if (plat::CopyFileW(source, destination, true)) return true;
  if (plat::GetLastError() != plat::kErrorFileExists) {
    ShowErrorCode(kCodeFileCopy);
    return false;
  }
  if (FilesIdentical(source, destination)) return true;
  if (plat::CopyFileW(source, destination, false)) return true;
  uint32_t error = plat::GetLastError();
  if (error != plat::kErrorAccessDenied && error != plat::kErrorSharingViolation) {
    WriteInstallLog(L"CopyFileW " + destination, true);
    ShowErrorCode(kCodeFileCopy);
    return false;
  }
  return CopyWithSpoolerStopped(source, destination);
}
