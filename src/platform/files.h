// Files and directories.
#pragma once
#include <cstdint>
#include <string>

#include "platform/handle.h"

namespace plat {

// Access rights, share modes and dispositions, as CreateFileW takes them.
constexpr uint32_t kGenericRead = 0x80000000;
constexpr uint32_t kGenericWrite = 0x40000000;
constexpr uint32_t kFileShareRead = 0x1;
constexpr uint32_t kFileShareWrite = 0x2;
constexpr uint32_t kFileShareDelete = 0x4;
constexpr uint32_t kCreateAlways = 2;
constexpr uint32_t kOpenExisting = 3;
constexpr uint32_t kOpenAlways = 4;

constexpr uint32_t kFileAttributeReadonly = 0x1;
constexpr uint32_t kFileAttributeHidden = 0x2;
constexpr uint32_t kFileAttributeSystem = 0x4;
constexpr uint32_t kFileAttributeDirectory = 0x10;
constexpr uint32_t kFileAttributeArchive = 0x20;
constexpr uint32_t kFileAttributeNormal = 0x80;
constexpr uint32_t kFileAttributeReparsePoint = 0x400;  // junctions and symbolic links
constexpr uint32_t kInvalidFileAttributes = 0xFFFFFFFF;

Handle CreateFileW(const std::wstring& path, uint32_t access, uint32_t shareMode, uint32_t disposition);
bool CloseHandle(Handle file);
bool GetFileSize(Handle file, uint64_t& size);
bool SetFilePointerToEnd(Handle file);
bool SetFilePointerToStart(Handle file);
// Reads up to `count` bytes; `read` < count only at the end of the file.
bool ReadFile(Handle file, void* buffer, uint32_t count, uint32_t& read);
bool WriteFile(Handle file, const void* data, uint32_t count, uint32_t& written);

bool CopyFileW(const std::wstring& source, const std::wstring& destination, bool failIfExists);
bool DeleteFileW(const std::wstring& path);
uint32_t GetFileAttributesW(const std::wstring& path);
// GetFileAttributesExW with GetFileExInfoStandard: attributes, size and the
// last-write time (a FILETIME as one number).
struct FileAttributeData {
  uint32_t attributes = 0;
  uint64_t size = 0;
  uint64_t lastWriteTime = 0;
};
bool GetFileAttributesExW(const std::wstring& path, FileAttributeData& data);
bool SetFileAttributesW(const std::wstring& path, uint32_t attributes);
bool CreateDirectoryW(const std::wstring& path);
// CreateDirectoryW with a security descriptor, in the same call, that gives
// Administrators and SYSTEM full access and nobody else any, nothing
// inherited from the parent: no standard user's process can write below it.
bool CreateAdministratorsDirectoryW(const std::wstring& path);
// An empty directory only.
bool RemoveDirectoryW(const std::wstring& path);

struct FindData {
  uint32_t attributes = 0;
  std::wstring fileName;
};

// Directory enumeration: FindFirstFileW fails with kInvalidHandle.
Handle FindFirstFileW(const std::wstring& pattern, FindData& data);
bool FindNextFileW(Handle find, FindData& data);
bool FindClose(Handle find);

struct CloseFile {
  void operator()(Handle h) const { CloseHandle(h); }
};
struct CloseFind {
  void operator()(Handle h) const { FindClose(h); }
};
using FileHandle = UniqueHandle<CloseFile>;
using FindHandle = UniqueHandle<CloseFind>;

}  // namespace plat
