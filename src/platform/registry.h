// The registry, read only.
#pragma once
#include <cstdint>
#include <string>

#include "platform/handle.h"

namespace plat {

constexpr uint32_t kKeyRead = 0x20019;
// With kKeyRead: the 64-bit view of the registry, also from a 32-bit process.
constexpr uint32_t kKeyWow64View64 = 0x0100;  // KEY_WOW64_64KEY
// Predefined root keys, as their Win32 values.
inline Handle const kHkeyLocalMachine = reinterpret_cast<Handle>(static_cast<intptr_t>(0x80000002));

// RegOpenKeyExW; returns the Win32 error code (0 on success) as the API does.
uint32_t RegOpenKeyExW(Handle root, const std::wstring& subKey, uint32_t access, Handle& key);
// RegQueryValueExW for a REG_DWORD value; kErrorInvalidData when the value has another type.
uint32_t RegQueryDwordValue(Handle key, const std::wstring& name, uint32_t& value);
// RegQueryValueExW for a REG_SZ value.
uint32_t RegQueryStringValue(Handle key, const std::wstring& name, std::wstring& value);
uint32_t RegCloseKey(Handle key);

struct CloseKey {
  void operator()(Handle h) const { RegCloseKey(h); }
};
using KeyHandle = UniqueHandle<CloseKey>;

}  // namespace plat
