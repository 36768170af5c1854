#include "catalog/inf_file_helper.h"

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

std::wstring UpperAscii(std::wstring text) {
  for (wchar_t& c : text)
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
  return text;
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

}  // namespace

bool CInfFileHelper::Open(const std::wstring& infPath) { return m_reader.Open(infPath); }

bool CInfFileHelper::FindSection(const std::wstring& header) {
  if (!m_reader.Rewind()) return false;
  std::wstring line;
  while (m_reader.ReadLine(line))
    if (line.find(header) != std::wstring::npos) return true;
  return false;
}

bool CInfFileHelper::ReadSectionBody(wchar_t separator, std::vector<std::wstring>& entries) {
  std::wstring line;
  while (m_reader.ReadLine(line)) {
    std::wstring text = Trim(line);
    if (text.empty() || text[0] == L';') continue;
    if (text.find(L'[') != std::wstring::npos) break;
    size_t at = text.find(separator);
    if (at != std::wstring::npos) entries.push_back(Trim(text.substr(at + 1)));
  }
  if (!m_reader.ReadFailed()) return true;
  entries.clear();
  return false;
}

bool CInfFileHelper::ReadManufacturers(std::vector<std::wstring>& manufacturers) {
  manufacturers.clear();
  return FindSection(kManufacturerHeader) && ReadSectionBody(L'=', manufacturers);
}

bool CInfFileHelper::ReadModels(std::vector<std::wstring>& models) {
  models.clear();
  return FindSection(IsNative64Bit() ? kModelsHeader64 : kModelsHeader32) && ReadSectionBody(L',', models);
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
  inf.ReadManufacturers(manufacturers);
  for (size_t i = 0; i < manufacturers.size(); ++i) {
    std::vector<std::wstring> section;
    inf.ReadModels(section);
    models.insert(models.end(), section.begin(), section.end());
  }
  return true;
}
