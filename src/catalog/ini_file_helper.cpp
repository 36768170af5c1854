#include "catalog/ini_file_helper.h"

#include "platform/profile.h"

namespace {
constexpr uint32_t kValueCapacity = 260;
}

std::wstring CIniFileHelper::GetString(const std::wstring& section, const std::wstring& key) const {
  return plat::GetPrivateProfileStringW(section, key, L"", kValueCapacity, m_strPath);
}
