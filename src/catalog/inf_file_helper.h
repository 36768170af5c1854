// The model catalog of a driver package's INF: a line reader that knows the
// manufacturer and models sections by their literal headers and keeps the text
// behind each line's first separator. Not a general INF parser.
#pragma once
#include <initializer_list>
#include <string>
#include <vector>

#include "base/text_line_reader.h"

// A line of a models section: its install section (the text between "=" and
// the first ",", trimmed; empty without "=") and its entry as ReadModels keeps it.
struct InfModelLine {
  std::wstring installSection;
  std::wstring entry;
};

class CInfFileHelper {
 public:
  virtual ~CInfFileHelper() = default;

  // Opens the INF for reading, shared with other readers and writers.
  bool Open(const std::wstring& infPath);

  // A section starts behind the first line containing its header (exact,
  // case-sensitive, anywhere on the untrimmed line) and ends before the next
  // line holding "[" anywhere; each reader rewinds the file first.

  // The text behind "=" of each line of "[Manufacturer]". False, with the list
  // empty, when the header is missing or the file cannot be read.
  bool ReadManufacturers(std::vector<std::wstring>& manufacturers);
  // The text behind "," of each line of the models section of this platform:
  // "[Quillex_Tech.NTamd64]" on 64-bit Windows, else "[Quillex_Tech]". False,
  // with the list empty, when that header is missing or the file cannot be read.
  bool ReadModels(std::vector<std::wstring>& models);
  // Both of the above from one pass over the file, which stops once both
  // sections have ended. A missing header leaves its list empty; false, with
  // both lists empty, only when the file cannot be read.
  bool ReadCatalog(std::vector<std::wstring>& manufacturers, std::vector<std::wstring>& models);
  // The lines of the models section of either architecture, whatever this
  // platform is, for checking a package; false as ReadModels.
  bool ReadModelLines(bool x64, std::vector<InfModelLine>& lines);
  // Whether the last reader stopped on a read error rather than at the end.
  bool ReadFailed() const { return m_reader.ReadFailed(); }

  // True when an entry occurs in `deviceId`, letter case of a-z ignored, and
  // the ID ends right behind that occurrence or goes on with "&", "-", "#" or
  // "_". Every occurrence of an entry is tried. An empty entry counts at the
  // start of the ID only (it would otherwise match every ID at its end).
  static bool MatchHardwareId(const std::vector<std::wstring>& models, const std::wstring& deviceId);

 private:
  class SectionScan;
  // Feeds the file's lines from its start to every section until all have
  // ended or the file has; false on a read error.
  bool Scan(std::initializer_list<SectionScan*> sections);

  CTextLineReader m_reader;
};

// The INF's model list as the driver update reads it: the models section when
// "[Manufacturer]" holds at least one entry, else nothing. The section does
// not depend on the entry, so it is read and held once, whatever the number of
// entries. One pass over the file. False when the INF cannot be opened.
bool ReadCatalogModels(const std::wstring& infPath, std::vector<std::wstring>& models);
