#include "catalog/printer_info_file.h"

#include <algorithm>

#include "base/executable_dir.h"
#include "platform/profile.h"

namespace {
constexpr uint32_t kEntryCapacity = 128;
}

CPrinterInfoFile::CPrinterInfoFile() : CPrinterInfoFile(GetExecutableDirectory()) {}

CPrinterInfoFile::CPrinterInfoFile(const std::wstring& folder) : m_strPath(folder + kPrinterInfoName) {}

int CPrinterInfoFile::ReadNumberedList(const std::wstring& section, std::span<std::wstring> entries) const {
  const int count = plat::GetPrivateProfileIntW(section, L"Counts", 0, m_strPath);
  const int readable = std::min(count, static_cast<int>(entries.size()));
  for (int i = 0; i < readable; ++i)
    entries[i] = plat::GetPrivateProfileStringW(section, std::to_wstring(i), L"", kEntryCapacity, m_strPath);
  return count;
}
