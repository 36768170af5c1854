#include "engine/file_bytes.h"

#include <algorithm>

#include "platform/files.h"

namespace {
constexpr uint32_t kReadChunk = 1u << 20;
}

bool ReadFileBytes(const std::wstring& path, uint64_t maxBytes, std::string& bytes) {
  plat::FileHandle file(plat::CreateFileW(path, plat::kGenericRead, plat::kFileShareRead, plat::kOpenExisting));
  uint64_t size = 0;
  if (!file || !plat::GetFileSize(file.get(), size) || size > maxBytes) return false;
  bytes.assign(static_cast<size_t>(size), '\0');
  for (uint64_t done = 0; done < size;) {
    uint32_t want = static_cast<uint32_t>(std::min<uint64_t>(kReadChunk, size - done)), read = 0;
    if (!plat::ReadFile(file.get(), bytes.data() + done, want, read) || read == 0) return false;
    done += read;
  }
  return true;
}
