#include <windows.h>

#include "platform/files.h"
#include "platform/win32/security_attributes.h"

namespace plat {

Handle CreateFileW(const std::wstring& path, uint32_t access, uint32_t shareMode, uint32_t disposition) {
  return ::CreateFileW(path.c_str(), access, shareMode, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool CloseHandle(Handle file) { return ::CloseHandle(file) != FALSE; }

bool GetFileSize(Handle file, uint64_t& size) {
  LARGE_INTEGER li{};
  if (!::GetFileSizeEx(file, &li)) return false;
  size = static_cast<uint64_t>(li.QuadPart);
  return true;
}

bool SetFilePointerToEnd(Handle file) {
  LARGE_INTEGER zero{};
  return ::SetFilePointerEx(file, zero, nullptr, FILE_END) != FALSE;
}

bool SetFilePointerToStart(Handle file) {
  LARGE_INTEGER zero{};
  return ::SetFilePointerEx(file, zero, nullptr, FILE_BEGIN) != FALSE;
}

bool ReadFile(Handle file, void* buffer, uint32_t count, uint32_t& read) {
  DWORD n = 0;
  bool ok = ::ReadFile(file, buffer, count, &n, nullptr) != FALSE;
  read = n;
  return ok;
}

bool WriteFile(Handle file, const void* data, uint32_t count, uint32_t& written) {
  DWORD n = 0;
  bool ok = ::WriteFile(file, data, count, &n, nullptr) != FALSE;
  written = n;
  return ok;
}

bool CopyFileW(const std::wstring& source, const std::wstring& destination, bool failIfExists) {
  return ::CopyFileW(source.c_str(), destination.c_str(), failIfExists) != FALSE;
}

bool DeleteFileW(const std::wstring& path) { return ::DeleteFileW(path.c_str()) != FALSE; }

uint32_t GetFileAttributesW(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()); }

bool GetFileAttributesExW(const std::wstring& path, FileAttributeData& data) {
  WIN32_FILE_ATTRIBUTE_DATA w{};
  if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &w)) return false;
  data.attributes = w.dwFileAttributes;
  data.size = (uint64_t{w.nFileSizeHigh} << 32) | w.nFileSizeLow;
  data.lastWriteTime = (uint64_t{w.ftLastWriteTime.dwHighDateTime} << 32) | w.ftLastWriteTime.dwLowDateTime;
  return true;
}

bool SetFileAttributesW(const std::wstring& path, uint32_t attributes) {
  return ::SetFileAttributesW(path.c_str(), attributes) != FALSE;
}

bool CreateDirectoryW(const std::wstring& path) { return ::CreateDirectoryW(path.c_str(), nullptr) != FALSE; }

bool CreateAdministratorsDirectoryW(const std::wstring& path) {
  SecurityAttributes attributes(L"D:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)");
  return attributes.get() && ::CreateDirectoryW(path.c_str(), attributes.get()) != FALSE;
}

bool RemoveDirectoryW(const std::wstring& path) { return ::RemoveDirectoryW(path.c_str()) != FALSE; }

static void Fill(const WIN32_FIND_DATAW& w, FindData& data) {
  data.attributes = w.dwFileAttributes;
  data.fileName = w.cFileName;
}

Handle FindFirstFileW(const std::wstring& pattern, FindData& data) {
  WIN32_FIND_DATAW w{};
  HANDLE h = ::FindFirstFileW(pattern.c_str(), &w);
  if (h != INVALID_HANDLE_VALUE) Fill(w, data);
  return h;
}

bool FindNextFileW(Handle find, FindData& data) {
  WIN32_FIND_DATAW w{};
  if (!::FindNextFileW(find, &w)) return false;
  Fill(w, data);
  return true;
}

bool FindClose(Handle find) { return ::FindClose(find) != FALSE; }

}  // namespace plat
