// Conversions between the system's ANSI code page (CP_ACP), or a named code
// page, and UTF-16.
// Same contract as MultiByteToWideChar / WideCharToMultiByte with CP_ACP, flags 0:
// a null output (or size 0) asks for the needed count; the result is a count, 0 on failure.
#pragma once
#include <cstdint>

namespace plat {

constexpr uint32_t kCpGbk = 936;  // Simplified Chinese: the readme's and PrinterInfo.ini's
constexpr uint32_t kCpUtf8 = 65001;

uint32_t GetACP();
int MultiByteToWideChar(const char* bytes, int byteCount, wchar_t* out, int outUnits);
// The same from an explicit code page (936, kCpUtf8) rather than CP_ACP;
// bytes that do not convert become the code page's default character.
int MultiByteToWideChar(uint32_t codePage, const char* bytes, int byteCount, wchar_t* out, int outUnits);
// The same with MB_ERR_INVALID_CHARS: 0 with kErrorNoUnicodeTranslation when
// the bytes hold a sequence the code page does not define.
int MultiByteToWideCharStrict(uint32_t codePage, const char* bytes, int byteCount, wchar_t* out, int outUnits);
int WideCharToMultiByte(const wchar_t* text, int unitCount, char* out, int outBytes);

}  // namespace plat
