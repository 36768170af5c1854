// Conversions between the system's ANSI code page (CP_ACP) and UTF-16.
// Same contract as MultiByteToWideChar / WideCharToMultiByte with CP_ACP, flags 0:
// a null output (or size 0) asks for the needed count; the result is a count, 0 on failure.
#pragma once
#include <cstdint>

namespace plat {

uint32_t GetACP();
int MultiByteToWideChar(const char* bytes, int byteCount, wchar_t* out, int outUnits);
int WideCharToMultiByte(const wchar_t* text, int unitCount, char* out, int outBytes);

}  // namespace plat
