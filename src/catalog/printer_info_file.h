// PrinterInfo.ini beside the executable: the models the wizard offers and the
// USB identifier of the maker's printers.
#pragma once
#include <span>
#include <string>

inline constexpr wchar_t kPrinterInfoName[] = L"PrinterInfo.ini";
inline constexpr wchar_t kModelSection[] = L"82列票据打印机";
inline constexpr wchar_t kUsbIdSection[] = L"VID_PID";
// Room of the wizard's model table.
inline constexpr int kModelTableSize = 512;

class CPrinterInfoFile {
 public:
  // Forms the path only; the file is not touched.
  CPrinterInfoFile();
  // The file in `folder` (ending in "\") rather than beside the executable.
  explicit CPrinterInfoFile(const std::wstring& folder);

  const std::wstring& Path() const { return m_strPath; }

  // Reads keys "0", "1", ... of `section` into `entries` (a missing key gives
  // the empty text, a value is cut to 127 characters) and returns the count
  // that "Counts" declares. Entries past the end of `entries` are not read.
  int ReadNumberedList(const std::wstring& section, std::span<std::wstring> entries) const;

 private:
  std::wstring m_strPath;
};
