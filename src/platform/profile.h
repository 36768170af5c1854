// Profile (INI) files, with GetPrivateProfile* semantics.
#pragma once
#include <cstdint>
#include <string>

namespace plat {

// GetPrivateProfileStringW: the value, or `defaultValue` when the file,
// section or key is missing; at most capacity-1 units are returned.
std::wstring GetPrivateProfileStringW(const std::wstring& section, const std::wstring& key,
                                      const std::wstring& defaultValue, uint32_t capacity,
                                      const std::wstring& path);
// GetPrivateProfileIntW: the leading decimal number of the value (negative
// with a leading '-', 0 when it starts with no digit), or `defaultValue` when
// the key is missing. The API's UINT is read back as the signed value it holds.
int32_t GetPrivateProfileIntW(const std::wstring& section, const std::wstring& key,
                               int32_t defaultValue, const std::wstring& path);

}  // namespace plat
