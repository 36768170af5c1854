#include <windows.h>

#include <vector>

#include "platform/profile.h"

namespace plat {

std::wstring GetPrivateProfileStringW(const std::wstring& section, const std::wstring& key,
                                      const std::wstring& defaultValue, uint32_t capacity,
                                      const std::wstring& path) {
  std::vector<wchar_t> buffer(capacity + 1, L'\0');
  DWORD n = ::GetPrivateProfileStringW(section.c_str(), key.c_str(), defaultValue.c_str(), buffer.data(),
                                       capacity, path.c_str());
  return std::wstring(buffer.data(), n);
}

int32_t GetPrivateProfileIntW(const std::wstring& section, const std::wstring& key, int32_t defaultValue,
                               const std::wstring& path) {
  return static_cast<int32_t>(::GetPrivateProfileIntW(section.c_str(), key.c_str(), defaultValue, path.c_str()));
}

}  // namespace plat
