#include "discovery/device_id.h"

bool IsWideSpace(wchar_t c) {
  switch (c) {
    case 0x09: case 0x0A: case 0x0B: case 0x0C: case 0x0D: case 0x20:
    case 0x85: case 0xA0: case 0x1680: case 0x2028: case 0x2029:
    case 0x202F: case 0x205F: case 0x3000:
      return true;
    default:
      return c >= 0x2000 && c <= 0x200A;
  }
}

std::wstring GetDeviceIdField(const std::wstring& deviceId, const std::wstring& key) {
  size_t at = deviceId.find(key);
  if (at == std::wstring::npos) return {};
  size_t semicolon = deviceId.find(L';', at);
  if (semicolon == std::wstring::npos) return {};
  size_t begin = at + key.size();
  if (semicolon < begin) return {};  // the key itself holds the ';'
  while (begin < semicolon && IsWideSpace(deviceId[begin])) ++begin;
  return deviceId.substr(begin, semicolon - begin);
}

DeviceIdFields ParseDeviceId(const std::wstring& deviceId) {
  DeviceIdFields fields{GetDeviceIdField(deviceId, L"MFG:"), GetDeviceIdField(deviceId, L"MDL:")};
  if (!fields.accepted()) fields.model.clear();
  return fields;
}
