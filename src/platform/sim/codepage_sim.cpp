// The simulated machine's ANSI code page is 936 (GBK), converted through iconv.
#include <iconv.h>

#include <cerrno>
#include <optional>
#include <string>

#include "platform/codepage.h"
#include "platform/error.h"
#include "platform/sim/machine.h"

namespace plat {

namespace {

constexpr uint32_t kSimAnsiCodePage = 936;

// Converts with iconv, replacing an unconvertible input unit by
// `replacement`; without one such a unit fails the conversion.
template <typename In, typename Out>
bool Convert(const char* to, const char* from, const In* text, size_t count, std::optional<Out> replacement,
             std::basic_string<Out>& result) {
  iconv_t cd = iconv_open(to, from);
  result.clear();
  if (cd == reinterpret_cast<iconv_t>(-1)) return true;
  char* in = const_cast<char*>(reinterpret_cast<const char*>(text));
  size_t inLeft = count * sizeof(In);
  std::basic_string<Out> buffer(inLeft * 2 + 8, Out{});
  bool converted = true;
  while (inLeft > 0) {
    char* out = reinterpret_cast<char*>(buffer.data());
    size_t outLeft = buffer.size() * sizeof(Out);
    size_t rc = iconv(cd, &in, &inLeft, &out, &outLeft);
    result.append(buffer.data(), (buffer.size() * sizeof(Out) - outLeft) / sizeof(Out));
    if (rc != static_cast<size_t>(-1)) break;
    if (errno == E2BIG) continue;
    // EILSEQ or EINVAL: skip one input unit.
    if (!replacement) {
      converted = false;
      break;
    }
    result.push_back(*replacement);
    in += sizeof(In);
    inLeft -= sizeof(In);
  }
  iconv_close(cd);
  return converted;
}

template <typename In, typename Out>
std::basic_string<Out> Convert(const char* to, const char* from, const In* text, size_t count, Out replacement) {
  std::basic_string<Out> result;
  Convert<In, Out>(to, from, text, count, replacement, result);
  return result;
}

template <typename Char>
size_t Length(const Char* text, int count) {
  if (count >= 0) return static_cast<size_t>(count);
  size_t n = 0;
  while (text[n]) ++n;
  return n + 1;  // -1 counts the terminator, as the API does
}

template <typename Char>
int Deliver(const std::basic_string<Char>& converted, Char* out, int outSize) {
  if (out == nullptr || outSize == 0) return static_cast<int>(converted.size());
  if (converted.size() > static_cast<size_t>(outSize)) {
    SetLastError(kErrorInsufficientBuffer);
    return 0;
  }
  converted.copy(out, converted.size());
  return static_cast<int>(converted.size());
}

}  // namespace

uint32_t GetACP() { return kSimAnsiCodePage; }

int MultiByteToWideChar(const char* bytes, int byteCount, wchar_t* out, int outUnits) {
  return MultiByteToWideChar(kSimAnsiCodePage, bytes, byteCount, out, outUnits);
}

// Code page 936 (GBK) and UTF-8; any other is refused.
int MultiByteToWideChar(uint32_t codePage, const char* bytes, int byteCount, wchar_t* out, int outUnits) {
  if (bytes == nullptr || byteCount == 0 || (codePage != kSimAnsiCodePage && codePage != kCpUtf8)) {
    SetLastError(kErrorInvalidParameter);
    return 0;
  }
  std::wstring converted = codePage == kCpUtf8
                               ? Convert<char, wchar_t>("WCHAR_T", "UTF-8", bytes, Length(bytes, byteCount), L'\xFFFD')
                               : Convert<char, wchar_t>("WCHAR_T", "CP936", bytes, Length(bytes, byteCount), L'\x30FB');
  return Deliver(converted, out, outUnits);
}

int MultiByteToWideCharStrict(uint32_t codePage, const char* bytes, int byteCount, wchar_t* out, int outUnits) {
  if (bytes == nullptr || byteCount == 0 || (codePage != kSimAnsiCodePage && codePage != kCpUtf8)) {
    SetLastError(kErrorInvalidParameter);
    return 0;
  }
  std::wstring converted;
  if (!Convert<char, wchar_t>("WCHAR_T", codePage == kCpUtf8 ? "UTF-8" : "CP936", bytes, Length(bytes, byteCount),
                              std::nullopt, converted)) {
    SetLastError(kErrorNoUnicodeTranslation);
    return 0;
  }
  return Deliver(converted, out, outUnits);
}

int WideCharToMultiByte(const wchar_t* text, int unitCount, char* out, int outBytes) {
  if (text == nullptr || unitCount == 0) {
    SetLastError(kErrorInvalidParameter);
    return 0;
  }
  std::string converted = Convert<wchar_t, char>("CP936", "WCHAR_T", text, Length(text, unitCount), '?');
  return Deliver(converted, out, outBytes);
}

}  // namespace plat
