// IEEE 1284 device IDs: the printer's 8-bit reply as text, and its MFG:/MDL: fields.
#pragma once
#include <string>

// The wide-character class test for white space, the same on every build:
// tab, LF, VT, FF, CR, blank and the Unicode space characters.
bool IsWideSpace(wchar_t c);

// The value of `key` ("MFG:" or "MDL:"): the text between its first occurrence
// and the next ';', leading white space removed; empty when there is none.
std::wstring GetDeviceIdField(const std::wstring& deviceId, const std::wstring& key);

struct DeviceIdFields {
  std::wstring manufacturer;
  std::wstring model;

  // An ID counts only when it names a manufacturer.
  bool accepted() const { return !manufacturer.empty(); }
};

// MFG: and MDL: of `deviceId`; the model is emptied when the ID is rejected.
DeviceIdFields ParseDeviceId(const std::wstring& deviceId);
