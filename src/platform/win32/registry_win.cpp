#include <windows.h>

#include <vector>

#include "platform/error.h"
#include "platform/registry.h"

namespace plat {

uint32_t RegOpenKeyExW(Handle root, const std::wstring& subKey, uint32_t access, Handle& key) {
  HKEY k = nullptr;
  LONG rc = ::RegOpenKeyExW(static_cast<HKEY>(root), subKey.c_str(), 0, access, &k);
  key = k;
  return static_cast<uint32_t>(rc);
}

uint32_t RegQueryDwordValue(Handle key, const std::wstring& name, uint32_t& value) {
  DWORD type = 0, data = 0, size = sizeof data;
  LONG rc = ::RegQueryValueExW(static_cast<HKEY>(key), name.c_str(), nullptr, &type,
                               reinterpret_cast<BYTE*>(&data), &size);
  if (rc != ERROR_SUCCESS) return static_cast<uint32_t>(rc);
  if (type != REG_DWORD) return kErrorInvalidData;
  value = data;
  return kErrorSuccess;
}

uint32_t RegQueryStringValue(Handle key, const std::wstring& name, std::wstring& value) {
  DWORD type = 0, size = 0;
  LONG rc = ::RegQueryValueExW(static_cast<HKEY>(key), name.c_str(), nullptr, &type, nullptr, &size);
  if (rc != ERROR_SUCCESS) return static_cast<uint32_t>(rc);
  if (type != REG_SZ && type != REG_EXPAND_SZ) return kErrorInvalidData;
  std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
  rc = ::RegQueryValueExW(static_cast<HKEY>(key), name.c_str(), nullptr, &type,
                          reinterpret_cast<BYTE*>(buffer.data()), &size);
  if (rc != ERROR_SUCCESS) return static_cast<uint32_t>(rc);
  value = buffer.data();
  return kErrorSuccess;
}

uint32_t RegCloseKey(Handle key) { return static_cast<uint32_t>(::RegCloseKey(static_cast<HKEY>(key))); }

}  // namespace plat
