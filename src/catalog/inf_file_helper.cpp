#include "catalog/inf_file_helper.h"

#include <algorithm>

#include "base/ascii_case.h"
#include "catalog/platform_probe.h"

namespace {

const wchar_t kManufacturerHeader[] = L"[Manufacturer]";
const wchar_t kModelsHeader32[] = L"[Quillex_Tech]";
const wchar_t kModelsHeader64[] = L"[Quillex_Tech.NTamd64]";

bool IsInfSpace(wchar_t c) {
  return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f';
}

std::wstring Trim(const std::wstring& text) {
  size_t first = 0, last = text.size();
  while (first < last && IsInfSpace(text[first])) ++first;
  while (last > first && IsInfSpace(text[last - 1])) --last;
  return text.substr(first, last - first);
}

bool IsIdSeparator(wchar_t c) { return c == L'&' || c == L'-' || c == L'#' || c == L'_'; }

// `entry` stands in `id` with the end of the ID or a separator right behind it.
bool OccursAsIdPart(const std::wstring& id, const std::wstring& entry) {
  if (entry.empty()) return id.empty() || IsIdSeparator(id[0]);
  for (size_t at = id.find(entry); at != std::wstring::npos; at = id.find(entry, at + 1)) {
    size_t end = at + entry.size();
    if (end == id.size() || IsIdSeparator(id[end])) return true;
  }
  return false;
}

// What a line of a section body gives; `entry` is set for an entry.
enum class BodyLine { Skipped, Entry, End };

// `head` is set to the text before the separator, trimmed.
BodyLine ParseBodyLine(const std::wstring& line, wchar_t separator, std::wstring& entry, std::wstring& head) {
  std::wstring text = Trim(line);
  if (text.empty() || text[0] == L';') return BodyLine::Skipped;
  if (text.find(L'[') != std::wstring::npos) return BodyLine::End;
  size_t at = text.find(separator);
  if (at == std::wstring::npos) return BodyLine::Skipped;
  entry = Trim(text.substr(at + 1));
  head = Trim(text.substr(0, at));
  return BodyLine::Entry;
}

// The install section of a models line's head: the text behind its first "=".
std::wstring InstallSectionOf(const std::wstring& head) {
  const size_t at = head.find(L'=');
  return at == std::wstring::npos ? std::wstring() : Trim(head.substr(at + 1));
}

const wchar_t* PlatformModelsHeader() { return IsNative64Bit() ? kModelsHeader64 : kModelsHeader32; }

}  // namespace

// One section followed line by line through a pass over the file: looking
// for its header, then taking the body's entries until the section ends.
class CInfFileHelper::SectionScan {
 public:
  // With `heads`, the text before each entry's separator is kept there too.
  SectionScan(const wchar_t* header, wchar_t separator, std::vector<std::wstring>& entries,
              std::vector<std::wstring>* heads = nullptr)
      : m_header(header), m_separator(separator), m_entries(entries), m_heads(heads) {
    Discard();
  }

  void Take(const std::wstring& line) {
    if (m_state == State::Looking) {
      if (line.find(m_header) != std::wstring::npos) m_state = State::InBody;
      return;
    }
    if (m_state == State::Ended) return;
    std::wstring entry, head;
    switch (ParseBodyLine(line, m_separator, entry, head)) {
      case BodyLine::Entry:
        m_entries.push_back(std::move(entry));
        if (m_heads) m_heads->push_back(std::move(head));
        break;
      case BodyLine::End: m_state = State::Ended; break;
      case BodyLine::Skipped: break;
    }
  }
  bool Found() const { return m_state != State::Looking; }
  bool Ended() const { return m_state == State::Ended; }
  void Discard() {
    m_entries.clear();
    if (m_heads) m_heads->clear();
  }

 private:
  enum class State { Looking, InBody, Ended };
  const wchar_t* m_header;
  wchar_t m_separator;
  std::vector<std::wstring>& m_entries;
  std::vector<std::wstring>* m_heads;
  State m_state = State::Looking;
};

bool CInfFileHelper::Open(const std::wstring& infPath) { return m_reader.Open(infPath); }

bool CInfFileHelper::Scan(std::initializer_list<SectionScan*> sections) {
  auto allEnded = [&sections] {
    return std::all_of(sections.begin(), sections.end(), [](const SectionScan* s) { return s->Ended(); });
  };
  bool ok = m_reader.Rewind();
  std::wstring line;
  while (ok && !allEnded() && m_reader.ReadLine(line))
    for (SectionScan* section : sections) section->Take(line);
  ok = ok && !m_reader.ReadFailed();
  if (!ok)
    for (SectionScan* section : sections) section->Discard();
  return ok;
}

bool CInfFileHelper::ReadManufacturers(std::vector<std::wstring>& manufacturers) {
  SectionScan section(kManufacturerHeader, L'=', manufacturers);
  return Scan({&section}) && section.Found();
}

bool CInfFileHelper::ReadModels(std::vector<std::wstring>& models) {
  SectionScan section(PlatformModelsHeader(), L',', models);
  return Scan({&section}) && section.Found();
}

bool CInfFileHelper::ReadModelLines(bool x64, std::vector<InfModelLine>& lines) {
  std::vector<std::wstring> entries, heads;
  SectionScan section(x64 ? kModelsHeader64 : kModelsHeader32, L',', entries, &heads);
  lines.clear();
  if (!Scan({&section}) || !section.Found()) return false;
  for (size_t i = 0; i < entries.size(); ++i) lines.push_back({InstallSectionOf(heads[i]), std::move(entries[i])});
  return true;
}

bool CInfFileHelper::ReadCatalog(std::vector<std::wstring>& manufacturers, std::vector<std::wstring>& models) {
  SectionScan manufacturerSection(kManufacturerHeader, L'=', manufacturers);
  SectionScan modelsSection(PlatformModelsHeader(), L',', models);
  return Scan({&manufacturerSection, &modelsSection});
}

bool CInfFileHelper::MatchHardwareId(const std::vector<std::wstring>& models, const std::wstring& deviceId) {
  const std::wstring id = UpperAscii(deviceId);
  for (const std::wstring& entry : models)
    if (OccursAsIdPart(id, UpperAscii(entry))) return true;
  return false;
}

bool ReadCatalogModels(const std::wstring& infPath, std::vector<std::wstring>& models) {
  models.clear();
  CInfFileHelper inf;
  if (!inf.Open(infPath)) return false;
  std::vector<std::wstring> manufacturers;
  inf.ReadCatalog(manufacturers, models);
  if (manufacturers.empty()) models.clear();  // no manufacturer entry: no model is read
  return true;
}
