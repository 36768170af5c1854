#include "engine/folder_copy.h"

#include "engine/folder_entries.h"
#include "engine/protected_copy.h"
#include "platform/error.h"
#include "platform/files.h"
#include "report/install_log.h"

namespace {

// A copy keeps its source's last-write time: a destination of the same size
// and time is the one copied before, and reading both again on every start
// would cost more than the whole rest of it.
bool SameSizeAndLastWrite(const std::wstring& source, const std::wstring& destination) {
  plat::FileAttributeData from, to;
  return plat::GetFileAttributesExW(source, from) && plat::GetFileAttributesExW(destination, to) &&
         from.size == to.size && from.lastWriteTime == to.lastWriteTime;
}

// A plain copy that leaves an identical destination as it is; false, with
// the destination and the error logged, when the file could not be copied.
bool CopyOrLog(const std::wstring& source, const std::wstring& destination) {
  if (plat::CopyFileW(source, destination, true)) return true;
  if (plat::GetLastError() == plat::kErrorFileExists) {
    if (SameSizeAndLastWrite(source, destination) || FilesIdentical(source, destination)) return true;
    if (plat::CopyFileW(source, destination, false)) return true;
  }
  WriteInstallLog(L"复制文件失败: " + destination, true);
  return false;
}

}  // namespace

bool CopyFolderTree(const std::wstring& source, const std::wstring& destination) {
  bool result = false;
  ForEachFolderEntry(source, [&](const std::wstring& name, bool isFolder) {
    result = isFolder ? CopyFolderTree(source + name + L"\\", destination)
                      : CopyOrLog(source + name, destination + name);
  });
  return result;
}
