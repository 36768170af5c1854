// The print spooler (winspool).
#pragma once
#include <cstdint>
#include <string>

namespace plat {

// GetPrinterDriverDirectoryW for the local server and the caller's own
// environment, level 1, into a buffer of `bufferBytes` bytes.
// Fails with kErrorInsufficientBuffer when the path does not fit.
bool GetPrinterDriverDirectoryW(uint32_t bufferBytes, std::wstring& directory);

}  // namespace plat
