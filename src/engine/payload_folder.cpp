#include "engine/payload_folder.h"

#include "base/ascii_case.h"
#include "base/executable_dir.h"
#include "catalog/package_root.h"
#include "catalog/printer_info_file.h"
#include "engine/driver_package.h"
#include "engine/folder_entries.h"
#include "engine/install_job.h"
#include "engine/native_program.h"
#include "platform/files.h"
#include "platform/kernel.h"
#include "platform/process.h"
#include "platform/shell.h"
#include "report/install_log.h"

const wchar_t kPayloadFolderPrefix[] = L"QuillexPayload.";

namespace {

const wchar_t kTempFolder[] = L"\\Temp\\";

bool StartsWithFolder(const std::wstring& path, const std::wstring& folder) {
  return !folder.empty() && LowerAscii(path).starts_with(LowerAscii(folder));
}

bool IsPayloadName(const std::wstring& name) { return StartsWithFolder(name, kPayloadFolderPrefix); }

// Files first, then the emptied folder; read-only files are made writable
// so that they can go.
bool RemoveTree(const std::wstring& folder) {
  bool removed = true;
  ForEachFolderEntry(folder, [&](const std::wstring& name, bool isFolder) {
    const std::wstring path = folder + name;
    if (isFolder) {
      removed = RemoveTree(path + L"\\") && removed;
      return;
    }
    plat::SetFileAttributesW(path, plat::kFileAttributeNormal);
    removed = plat::DeleteFileW(path) && removed;
  });
  return plat::RemoveDirectoryW(folder.substr(0, folder.size() - 1)) && removed;
}

// What killed runs left: no run of ours uses them while this one holds the lock.
void RemoveLeftPayloads(const std::wstring& parent) {
  ForEachFolderEntry(parent, [&](const std::wstring& name, bool isFolder) {
    if (isFolder && IsPayloadName(name) && !RemoveTree(parent + name + L"\\"))
      WriteInstallLog(L"RemoveDirectoryW " + parent + name, true);
  });
}

// The tree below `source` into `destination` (both ending in "\"), its
// sub-folders kept.
bool CopyTree(const std::wstring& source, const std::wstring& destination) {
  bool copied = true;
  const bool listed = ForEachFolderEntry(source, [&](const std::wstring& name, bool isFolder) {
    if (!copied) return;
    if (isFolder) {
      copied = plat::CreateDirectoryW(destination + name) && CopyTree(source + name + L"\\", destination + name + L"\\");
      if (!copied) WriteInstallLog(L"CopyTree " + source + name, true);
    } else if (!plat::CopyFileW(source + name, destination + name, true)) {
      WriteInstallLog(L"CopyFileW " + source + name, true);
      copied = false;
    }
  });
  if (!listed) WriteInstallLog(L"FindFirstFileW " + source, true);
  return listed && copied;
}

// The branch at its place below the root, `relative` ("24Pin\X64\"). A
// branch that is not there is reported by the staging, as ever.
bool CopyBranch(const std::wstring& branch, const std::wstring& root, const std::wstring& relative) {
  if (plat::GetFileAttributesW(branch) == plat::kInvalidFileAttributes) return true;
  std::wstring made = root;
  for (size_t start = 0, end; (end = relative.find(L'\\', start)) != std::wstring::npos; start = end + 1) {
    made += relative.substr(start, end - start + 1);
    plat::CreateDirectoryW(made.substr(0, made.size() - 1));
  }
  return CopyTree(branch, made);
}

// A single file beside the executable; one that is not there is no failure:
// its absence is reported where it is needed.
bool CopyBesideFile(const std::wstring& name, const std::wstring& destination) {
  const std::wstring source = GetExecutableDirectory() + name;
  if (plat::GetFileAttributesW(source) == plat::kInvalidFileAttributes) return true;
  if (plat::CopyFileW(source, destination + name, true)) return true;
  WriteInstallLog(L"CopyFileW " + source, true);
  return false;
}

}  // namespace

std::wstring PayloadParentFolder() {
  std::wstring windows;
  if (!plat::SHGetSpecialFolderPathW(plat::kCsidlWindows, windows) || windows.empty()) return {};
  return windows + kTempFolder;
}

bool RunsFromAdministratorsFolder(bool handedOff) {
  const std::wstring folder = GetExecutableDirectory();
  for (const int csidl : {plat::kCsidlProgramFiles, plat::kCsidlProgramFilesX86}) {
    std::wstring programs;
    if (plat::SHGetSpecialFolderPathW(csidl, programs) && StartsWithFolder(folder, programs + L"\\")) return true;
  }
  const std::wstring parent = PayloadParentFolder();
  return handedOff && StartsWithFolder(folder, parent) && IsPayloadName(folder.substr(parent.size()));
}

bool CPayloadFolder::Create() {
  const std::wstring parent = PayloadParentFolder();
  if (parent.empty()) {
    WriteInstallLog(L"SHGetSpecialFolderPathW CSIDL_WINDOWS", true);
    return false;
  }
  RemoveLeftPayloads(parent);
  const std::wstring folder = parent + kPayloadFolderPrefix + std::to_wstring(plat::GetCurrentProcessId()) + L"." +
                              std::to_wstring(plat::GetTickCount());
  if (!plat::CreateAdministratorsDirectoryW(folder)) {
    WriteInstallLog(L"CreateDirectoryW " + folder, true);
    return false;
  }
  m_strFolder = folder + L"\\";
  const std::wstring relative = PackageBranchBelowRoot(kInstalledFamily);
  if (!CopyBranch(GetExecutableDirectory() + relative, m_strFolder, relative) || !CopyBesideFile(kPrinterInfoName, m_strFolder) ||
      !CopyBesideFile(kNativeProgramName, m_strFolder))
    return false;
  SetPackageRootDirectory(m_strFolder);
  return true;
}

CPayloadFolder::~CPayloadFolder() {
  if (m_strFolder.empty()) return;
  SetPackageRootDirectory(L"");
  // A destructor lets nothing out (out of memory composing a path): a folder
  // left behind is cleared by the next run that holds the lock.
  try {
    if (!RemoveTree(m_strFolder)) WriteInstallLog(L"RemoveDirectoryW " + m_strFolder, true);
  } catch (...) {
  }
}
