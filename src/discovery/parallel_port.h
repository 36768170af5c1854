// The printer on the first parallel port: the port found by its friendly name,
// a rescan of the port's children for the maker's printer, and the printer's
// IEEE 1284 device ID read through the port driver. Failures go to the log.
#pragma once
#include <string>

#include "platform/files.h"

inline constexpr wchar_t kParallelPortFilter[] = L"LPT";
// A child device whose instance ID holds this is the maker's printer.
inline constexpr wchar_t kMakerMark[] = L"Quillex";

// "\\.\" + FindParallelPortName(filter), opened exclusively; invalid when that fails.
plat::FileHandle OpenParallelPrinter(const std::wstring& filter);

// The name (such as LPT1) of the first "Ports" device whose friendly name
// holds `filter`; after a rescan, the tail of the maker's printer's instance
// ID when one was found. Empty when no device matches.
std::wstring FindParallelPortName(const std::wstring& filter);

// Re-enumerates the parallel port devices named `portName` (up to three
// times each) and sets `foundId` to the instance ID of a child holding the
// maker mark; leaves it alone when none turns up.
void RescanParallelPort(const std::wstring& portName, std::wstring& foundId);

// CM_Locate_DevNode and CM_Reenumerate_DevNode of `instanceId`.
bool ReenumerateDevice(const std::wstring& instanceId);

// The characters after the last "&"; empty when there is none.
std::wstring TextAfterLastAmpersand(const std::wstring& text);

// Queries the device ID on `port` and closes it. True when the ID names a
// manufacturer; then both outputs hold the values (each at most 259 characters).
bool ReadParallelDeviceId(plat::FileHandle port, std::wstring& model, std::wstring& manufacturer);
