#include <algorithm>
#include <cstring>

#include "platform/error.h"
#include "platform/files.h"
#include "platform/sim/devio.h"
#include "platform/sim/machine.h"

namespace plat {

namespace {

using sim::FileSystem;

FileSystem& Fs() { return sim::machine().fs; }

bool Fail(uint32_t error) {
  SetLastError(error);
  return false;
}

// The error for a path whose node is missing: file or folder not found.
uint32_t MissingError(const std::wstring& path) {
  std::wstring parent = FileSystem::Parent(FileSystem::Key(path));
  return parent.empty() || Fs().IsDirectory(parent) ? kErrorFileNotFound : kErrorPathNotFound;
}

FileSystem::OpenFile* OpenOf(Handle h) {
  auto it = Fs().open.find(sim::Id(h));
  return it == Fs().open.end() ? nullptr : &it->second;
}

// Case-insensitive wildcard match with '*' and '?'; "*.*" matches every name.
bool MatchesMask(const std::wstring& name, const std::wstring& mask) {
  std::wstring n = FileSystem::Key(name), m = FileSystem::Key(mask);
  if (m == L"*.*") m = L"*";
  size_t ni = 0, mi = 0, star = std::wstring::npos, mark = 0;
  while (ni < n.size()) {
    if (mi < m.size() && (m[mi] == L'?' || m[mi] == n[ni])) {
      ++ni;
      ++mi;
    } else if (mi < m.size() && m[mi] == L'*') {
      star = mi++;
      mark = ni;
    } else if (star != std::wstring::npos) {
      mi = star + 1;
      ni = ++mark;
    } else {
      return false;
    }
  }
  while (mi < m.size() && m[mi] == L'*') ++mi;
  return mi == m.size();
}

}  // namespace

Handle CreateFileW(const std::wstring& path, uint32_t access, uint32_t shareMode, uint32_t disposition) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("CreateFileW", path)) return kInvalidHandle;
  if (sim::IsDevicePath(path)) return sim::OpenDevicePath(path, shareMode);
  FileSystem::Node* node = Fs().Find(path);
  if (node && node->directory) return Fail(kErrorAccessDenied), kInvalidHandle;
  if (!node && disposition == kOpenExisting) return Fail(MissingError(path)), kInvalidHandle;
  if (!node) {
    std::wstring parent = FileSystem::Parent(FileSystem::Key(path));
    if (!Fs().IsDirectory(parent)) return Fail(kErrorPathNotFound), kInvalidHandle;
  }
  std::wstring key = FileSystem::Key(path);
  if (node && (access & kGenericWrite) && (node->attributes & kFileAttributeReadonly))
    return Fail(kErrorAccessDenied), kInvalidHandle;
  if (!Fs().ShareAllows(key, access, shareMode)) return Fail(kErrorSharingViolation), kInvalidHandle;
  if (sim::machine().SpoolerHolds(path) && ((access & kGenericWrite) || !(shareMode & kFileShareRead)))
    return Fail(kErrorSharingViolation), kInvalidHandle;
  bool existed = node != nullptr;
  if (!node) node = &Fs().Create(path, false, kFileAttributeArchive);
  if (disposition == kCreateAlways) {
    node->data.clear();
    node->lastWriteTime = Fs().NextWriteTime();
  }
  Handle h = sim::machine().NewHandle();
  Fs().open[sim::Id(h)] = {key, access, shareMode, 0};
  SetLastError(existed && disposition != kOpenExisting ? kErrorAlreadyExists : kErrorSuccess);
  return h;
}

bool CloseHandle(Handle file) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("CloseHandle")) return false;
  if (sim::CloseDevicePath(file)) return true;
  return Fs().open.erase(sim::Id(file)) ? true : Fail(kErrorInvalidHandle);
}

bool GetFileSize(Handle file, uint64_t& size) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("GetFileSize")) return false;
  FileSystem::OpenFile* f = OpenOf(file);
  if (!f) return Fail(kErrorInvalidHandle);
  size = Fs().nodes[f->key].data.size();
  return true;
}

bool SetFilePointerToEnd(Handle file) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("SetFilePointer")) return false;
  FileSystem::OpenFile* f = OpenOf(file);
  if (!f) return Fail(kErrorInvalidHandle);
  f->position = Fs().nodes[f->key].data.size();
  return true;
}

bool SetFilePointerToStart(Handle file) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("SetFilePointer")) return false;
  FileSystem::OpenFile* f = OpenOf(file);
  if (!f) return Fail(kErrorInvalidHandle);
  f->position = 0;
  return true;
}

bool ReadFile(Handle file, void* buffer, uint32_t count, uint32_t& read) {
  auto lock = sim::machine().Lock();
  read = 0;
  if (sim::Enter("ReadFile")) return false;
  FileSystem::OpenFile* f = OpenOf(file);
  if (!f) return Fail(kErrorInvalidHandle);
  if (!(f->access & kGenericRead)) return Fail(kErrorAccessDenied);
  const std::string& data = Fs().nodes[f->key].data;
  uint64_t available = f->position < data.size() ? data.size() - f->position : 0;
  read = static_cast<uint32_t>(std::min<uint64_t>(count, available));
  std::memcpy(buffer, data.data() + f->position, read);
  f->position += read;
  return true;
}

bool WriteFile(Handle file, const void* data, uint32_t count, uint32_t& written) {
  auto lock = sim::machine().Lock();
  written = 0;
  if (sim::Enter("WriteFile")) return false;
  FileSystem::OpenFile* f = OpenOf(file);
  if (!f) return Fail(kErrorInvalidHandle);
  if (!(f->access & kGenericWrite)) return Fail(kErrorAccessDenied);
  FileSystem::Node& node = Fs().nodes[f->key];
  node.lastWriteTime = Fs().NextWriteTime();
  std::string& content = node.data;
  if (content.size() < f->position + count) content.resize(f->position + count);
  std::memcpy(content.data() + f->position, data, count);
  f->position += count;
  written = count;
  return true;
}

bool CopyFileW(const std::wstring& source, const std::wstring& destination, bool failIfExists) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("CopyFileW", source + L" -> " + destination + (failIfExists ? L" (fail if exists)" : L"")))
    return false;
  const FileSystem::Node* src = Fs().Find(source);
  if (!src || src->directory) return Fail(src ? kErrorAccessDenied : MissingError(source));
  if (!Fs().ShareAllows(FileSystem::Key(source), kGenericRead, kFileShareRead))
    return Fail(kErrorSharingViolation);
  std::string data = src->data;
  uint32_t attributes = src->attributes;
  FileSystem::Node* dst = Fs().Find(destination);
  if (!dst && !Fs().IsDirectory(FileSystem::Parent(FileSystem::Key(destination)))) return Fail(kErrorPathNotFound);
  if (dst && failIfExists) return Fail(kErrorFileExists);
  if (dst && (dst->directory || (dst->attributes & kFileAttributeReadonly))) return Fail(kErrorAccessDenied);
  if (dst && (Fs().AnyOpen(FileSystem::Key(destination)) || sim::machine().SpoolerHolds(destination)))
    return Fail(kErrorSharingViolation);
  if (!dst) dst = &Fs().Create(destination, false, 0);
  dst->data = data;
  dst->attributes = attributes | kFileAttributeArchive;
  dst->lastWriteTime = src->lastWriteTime;  // CopyFile keeps the source's
  // An INF's setup class and a program's behaviour are part of the content:
  // the copy has them too.
  auto& classes = sim::machine().devices.infClasses;
  if (auto infClass = classes.find(FileSystem::Key(source)); infClass != classes.end())
    classes[FileSystem::Key(destination)] = infClass->second;
  auto& programs = sim::machine().processes.programs;
  if (auto program = programs.find(FileSystem::Key(source)); program != programs.end())
    programs[FileSystem::Key(destination)] = program->second;
  return true;
}

bool DeleteFileW(const std::wstring& path) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("DeleteFileW", path)) return false;
  const FileSystem::Node* node = Fs().Find(path);
  if (!node) return Fail(MissingError(path));
  if (node->directory || (node->attributes & kFileAttributeReadonly)) return Fail(kErrorAccessDenied);
  if (Fs().AnyOpen(FileSystem::Key(path)) || sim::machine().SpoolerHolds(path)) return Fail(kErrorSharingViolation);
  Fs().Remove(path);
  return true;
}

uint32_t GetFileAttributesW(const std::wstring& path) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("GetFileAttributesW", path)) return kInvalidFileAttributes;
  const FileSystem::Node* node = Fs().Find(path);
  if (!node) return Fail(MissingError(path)), kInvalidFileAttributes;
  return node->attributes;
}

bool GetFileAttributesExW(const std::wstring& path, FileAttributeData& data) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("GetFileAttributesExW", path)) return false;
  const FileSystem::Node* node = Fs().Find(path);
  if (!node) return Fail(MissingError(path));
  data = {node->attributes, node->directory ? 0 : node->data.size(), node->lastWriteTime};
  return true;
}

bool SetFileAttributesW(const std::wstring& path, uint32_t attributes) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("SetFileAttributesW", path)) return false;
  FileSystem::Node* node = Fs().Find(path);
  if (!node) return Fail(MissingError(path));
  node->attributes = (attributes & ~kFileAttributeDirectory) | (node->directory ? kFileAttributeDirectory : 0);
  return true;
}

bool CreateDirectoryW(const std::wstring& path) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("CreateDirectoryW", path)) return false;
  if (Fs().Exists(path)) return Fail(kErrorAlreadyExists);
  if (!Fs().IsDirectory(FileSystem::Parent(FileSystem::Key(path)))) return Fail(kErrorPathNotFound);
  Fs().Create(path, true, kFileAttributeDirectory);
  return true;
}

bool CreateAdministratorsDirectoryW(const std::wstring& path) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("CreateDirectoryW", path + L" " + sim::kAdministratorsOnly)) return false;
  if (Fs().Exists(path)) return Fail(kErrorAlreadyExists);
  if (!Fs().IsDirectory(FileSystem::Parent(FileSystem::Key(path)))) return Fail(kErrorPathNotFound);
  Fs().Create(path, true, kFileAttributeDirectory).administratorsOnly = true;
  return true;
}

bool RemoveDirectoryW(const std::wstring& path) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("RemoveDirectoryW", path)) return false;
  const FileSystem::Node* node = Fs().Find(path);
  if (!node) return Fail(kErrorFileNotFound);
  if (!node->directory) return Fail(kErrorDirectory);
  if (!node->children.empty()) return Fail(kErrorDirNotEmpty);
  Fs().Remove(path);
  return true;
}

Handle FindFirstFileW(const std::wstring& pattern, FindData& data) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("FindFirstFileW", pattern)) return kInvalidHandle;
  size_t slash = pattern.find_last_of(L"\\/");
  std::wstring dirPath = slash == std::wstring::npos ? L"" : pattern.substr(0, slash == 2 ? 3 : slash);
  std::wstring mask = pattern.substr(slash == std::wstring::npos ? 0 : slash + 1);
  const FileSystem::Node* dir = Fs().Find(dirPath);
  if (!dir || !dir->directory) return Fail(kErrorPathNotFound), kInvalidHandle;
  FileSystem::Search search;
  bool isRoot = FileSystem::Key(dirPath).size() == 3;
  if (!isRoot && (mask == L"*" || mask == L"*.*")) {
    search.entries.push_back({L".", kFileAttributeDirectory});
    search.entries.push_back({L"..", kFileAttributeDirectory});
  }
  for (const std::wstring& key : dir->children) {
    const FileSystem::Node& child = Fs().nodes.at(key);
    std::wstring name = FileSystem::LeafName(child.path);
    if (MatchesMask(name, mask)) search.entries.push_back({name, child.attributes});
  }
  if (search.entries.empty()) return Fail(kErrorFileNotFound), kInvalidHandle;
  data = {search.entries[0].second, search.entries[0].first};
  search.next = 1;
  Handle h = sim::machine().NewHandle();
  Fs().searches[sim::Id(h)] = std::move(search);
  return h;
}

bool FindNextFileW(Handle find, FindData& data) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("FindNextFileW")) return false;
  auto it = Fs().searches.find(sim::Id(find));
  if (it == Fs().searches.end()) return Fail(kErrorInvalidHandle);
  FileSystem::Search& s = it->second;
  if (s.next >= s.entries.size()) return Fail(kErrorNoMoreFiles);
  data = {s.entries[s.next].second, s.entries[s.next].first};
  ++s.next;
  return true;
}

bool FindClose(Handle find) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("FindClose")) return false;
  return Fs().searches.erase(sim::Id(find)) ? true : Fail(kErrorInvalidHandle);
}

}  // namespace plat
