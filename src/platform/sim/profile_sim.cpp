// GetPrivateProfile* over the simulated file system: an ANSI (code page 936)
// or UTF-16LE (with BOM) file; section and key names compare case-insensitively.
#include <cwctype>

#include "platform/codepage.h"
#include "platform/error.h"
#include "platform/profile.h"
#include "platform/sim/machine.h"

namespace plat {

namespace {

std::wstring Decode(const std::string& bytes) {
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE) {
    std::wstring text;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2)
      text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                          (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    return text;
  }
  if (bytes.empty()) return {};
  int n = MultiByteToWideChar(bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring text(n, L'\0');
  MultiByteToWideChar(bytes.data(), static_cast<int>(bytes.size()), text.data(), n);
  return text;
}

std::wstring Trim(const std::wstring& s) {
  size_t b = 0, e = s.size();
  while (b < e && (s[b] == L' ' || s[b] == L'\t' || s[b] == L'\r')) ++b;
  while (e > b && (s[e - 1] == L' ' || s[e - 1] == L'\t' || s[e - 1] == L'\r')) --e;
  return s.substr(b, e - b);
}

bool Lookup(const std::wstring& section, const std::wstring& key, const std::wstring& path, std::wstring& value) {
  const sim::FileSystem::Node* node = sim::machine().fs.Find(path);
  if (!node || node->directory) return false;
  std::wstring text = Decode(node->data);
  const std::wstring wantSection = sim::FileSystem::Key(section), wantKey = sim::FileSystem::Key(key);
  bool inSection = false;
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t end = text.find(L'\n', pos);
    std::wstring line = Trim(text.substr(pos, end == std::wstring::npos ? std::wstring::npos : end - pos));
    pos = end == std::wstring::npos ? text.size() + 1 : end + 1;
    if (!line.empty() && line[0] == L'[') {
      size_t close = line.find(L']');
      inSection = sim::FileSystem::Key(Trim(line.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1))) == wantSection;
      continue;
    }
    size_t eq = line.find(L'=');
    if (!inSection || eq == std::wstring::npos || line[0] == L';') continue;
    if (sim::FileSystem::Key(Trim(line.substr(0, eq))) != wantKey) continue;
    value = Trim(line.substr(eq + 1));
    if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') && value.back() == value.front())
      value = value.substr(1, value.size() - 2);
    return true;
  }
  return false;
}

}  // namespace

std::wstring GetPrivateProfileStringW(const std::wstring& section, const std::wstring& key,
                                      const std::wstring& defaultValue, uint32_t capacity,
                                      const std::wstring& path) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("GetPrivateProfileStringW", section + L"/" + key)) return defaultValue.substr(0, capacity ? capacity - 1 : 0);
  std::wstring value;
  if (!Lookup(section, key, path, value)) {
    SetLastError(kErrorFileNotFound);
    value = defaultValue;
  }
  return value.substr(0, capacity ? capacity - 1 : 0);
}

int32_t GetPrivateProfileIntW(const std::wstring& section, const std::wstring& key, int32_t defaultValue,
                               const std::wstring& path) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("GetPrivateProfileIntW", section + L"/" + key)) return defaultValue;
  std::wstring value;
  if (!Lookup(section, key, path, value)) return defaultValue;
  size_t i = 0;
  bool negative = i < value.size() && value[i] == L'-';
  if (negative) ++i;
  uint32_t n = 0;
  for (; i < value.size() && value[i] >= L'0' && value[i] <= L'9'; ++i) n = n * 10 + (value[i] - L'0');
  return static_cast<int32_t>(negative ? 0u - n : n);
}

}  // namespace plat
