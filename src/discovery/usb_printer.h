// USB printers: the port number of the maker's printer, and the IEEE 1284
// device ID of the last USB printing interface of any make.
#pragma once
#include <cstdint>
#include <string>

#include "platform/files.h"

// Marks the maker's printers: an exact, case-sensitive part of the interface
// path. The model page rewrites it from PrinterInfo.ini.
extern std::wstring UsbPortFilter;

// The registry key below HKEY_LOCAL_MACHINE that holds the "Device Parameters"
// of the USB printing interface at `path` (`familyCode` as GetWindowsFamilyCode).
std::wstring UsbInterfaceParametersKey(const std::wstring& path, int familyCode);

// The "Port Number" of the last interface whose path contains UsbPortFilter;
// 0 when there is none, or when a matching interface has no readable number.
// A missing device set is reported in an error box owned by `owner`.
uint32_t FindUsbPrinterPortNumber(plat::Handle owner);

// The last USB printing interface, opened for reading and writing (shared);
// invalid when there is none.
plat::FileHandle OpenUsbPrinter();

// Reads the device ID of OpenUsbPrinter's printer. On an answer sets both
// outputs (the model empty when the ID names no manufacturer); otherwise
// leaves them as they were.
void ReadUsbDeviceId(std::wstring& model, std::wstring& manufacturer);
