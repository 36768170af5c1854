#include "catalog/model_name.h"

#include <algorithm>
#include <string_view>

#include "base/ascii_case.h"

namespace {

constexpr size_t kMaxComponentUnits = 255;
constexpr size_t kDataFileSuffixUnits = 4;  // ".GPD"

bool RefusedInFileName(wchar_t c) {
  return c < L' ' || std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos;
}

// Windows opens the device, not a file, for these names with any extension.
bool IsReservedDeviceName(const std::wstring& modelName) {
  std::wstring base = modelName.substr(0, modelName.find(L'.'));
  base.erase(base.find_last_not_of(L' ') + 1);
  base = UpperAscii(base);
  if (base == L"CON" || base == L"PRN" || base == L"AUX" || base == L"NUL") return true;
  return base.size() == 4 && (base.starts_with(L"COM") || base.starts_with(L"LPT")) && base[3] >= L'1' &&
         base[3] <= L'9';
}

}  // namespace

bool CanNameDataFile(const std::wstring& modelName) {
  if (modelName.empty() || modelName == L"." || modelName.find(L"..") != std::wstring::npos) return false;
  if (modelName.size() + kDataFileSuffixUnits > kMaxComponentUnits) return false;
  if (std::any_of(modelName.begin(), modelName.end(), RefusedInFileName)) return false;
  return !IsReservedDeviceName(modelName);
}
