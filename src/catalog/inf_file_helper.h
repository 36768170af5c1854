// The model catalog of a driver package's INF: a line reader that knows the
// manufacturer and models sections by their literal headers and keeps the text
// behind each line's first separator. Not a general INF parser.
#pragma once
#include <string>
#include <vector>

#include "catalog/text_line_reader.h"

class CInfFileHelper {
 public:
  virtual ~CInfFileHelper() = default;

  // Opens the INF for reading, shared with other readers and writers.
  bool Open(const std::wstring& infPath);

  // Rewinds and reads up to the first line containing `header` (exact,
  // case-sensitive, anywhere on the untrimmed line); true with the reader
  // placed on the line after it.
  bool FindSection(const std::wstring& header);
  // The text behind "=" of each line of "[Manufacturer]". False, with the list
  // empty, when the header is missing or the file cannot be read.
  bool ReadManufacturers(std::vector<std::wstring>& manufacturers);
  // The text behind "," of each line of the models section of this platform:
  // "[Quillex_Tech.NTamd64]" on 64-bit Windows, else "[Quillex_Tech]". False,
  // with the list empty, when that header is missing or the file cannot be read.
  bool ReadModels(std::vector<std::wstring>& models);

  // True when an entry occurs in `deviceId`, letter case of a-z ignored, and
  // the ID ends right behind that occurrence or goes on with "&", "-", "#" or
  // "_". Every occurrence of an entry is tried. An empty entry counts at the
  // start of the ID only (it would otherwise match every ID at its end).
  static bool MatchHardwareId(const std::vector<std::wstring>& models, const std::wstring& deviceId);

 private:
  // The entries of the section body after the header: see ReadManufacturers.
  bool ReadSectionBody(wchar_t separator, std::vector<std::wstring>& entries);

  CTextLineReader m_reader;
};

// The INF's model list as the driver update reads it: the models section once
// for every manufacturer entry (the section does not depend on the entry), so
// N entries give the list N times over and none gives no model. False when
// the INF cannot be opened.
bool ReadCatalogModels(const std::wstring& infPath, std::vector<std::wstring>& models);
