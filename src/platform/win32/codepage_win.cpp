#include <windows.h>

#include "platform/codepage.h"

namespace plat {

uint32_t GetACP() { return ::GetACP(); }

int MultiByteToWideChar(const char* bytes, int byteCount, wchar_t* out, int outUnits) {
  return ::MultiByteToWideChar(CP_ACP, 0, bytes, byteCount, out, outUnits);
}

int MultiByteToWideChar(uint32_t codePage, const char* bytes, int byteCount, wchar_t* out, int outUnits) {
  return ::MultiByteToWideChar(codePage, 0, bytes, byteCount, out, outUnits);
}

int MultiByteToWideCharStrict(uint32_t codePage, const char* bytes, int byteCount, wchar_t* out, int outUnits) {
  return ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes, byteCount, out, outUnits);
}

int WideCharToMultiByte(const wchar_t* text, int unitCount, char* out, int outBytes) {
  return ::WideCharToMultiByte(CP_ACP, 0, text, unitCount, out, outBytes, nullptr, nullptr);
}

}  // namespace plat
