// A reader of one profile (INI) file.
#pragma once
#include <string>

class CIniFileHelper {
 public:
  void SetFilePath(const std::wstring& path) { m_strPath = path; }
  // The key's value (at most 259 characters); empty when the file, section or key is missing.
  std::wstring GetString(const std::wstring& section, const std::wstring& key) const;

 private:
  std::wstring m_strPath;
};
