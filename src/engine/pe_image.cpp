#include "engine/pe_image.h"

#include <algorithm>
#include <cstring>

#include "engine/file_bytes.h"

namespace {

constexpr uint32_t kDosHeaderNewOffset = 0x3C;  // e_lfanew
constexpr uint32_t kFileHeaderBytes = 20;
constexpr uint16_t kOptionalMagicPe32 = 0x10B;
constexpr uint16_t kOptionalMagicPe32Plus = 0x20B;
constexpr uint16_t kCharacteristicDll = 0x2000;
// Offsets inside the optional header of the directory count and the directories.
constexpr uint32_t kDirectoryCountPe32 = 92, kDirectoryCountPe32Plus = 108;
constexpr uint32_t kDirectoriesPe32 = 96, kDirectoriesPe32Plus = 112;
constexpr uint32_t kSectionHeaderBytes = 40;
constexpr uint32_t kExportDirectoryBytes = 40;
constexpr uint32_t kMaxExportNames = 65536;
// Libraries and programs of a driver package are a few megabytes at most.
constexpr uint64_t kMaxImageBytes = 64ull << 20;

// Little-endian reads that fail instead of reading past the data.
class Bytes {
 public:
  explicit Bytes(const std::string& data) : m_data(data) {}
  bool U16(uint64_t at, uint16_t& v) const { return Read(at, 2, v); }
  bool U32(uint64_t at, uint32_t& v) const { return Read(at, 4, v); }
  bool Has(uint64_t at, uint64_t count) const { return at <= m_data.size() && count <= m_data.size() - at; }
  // The zero-terminated text at `at`, its terminator within `limit` bytes;
  // false when it runs past the data or the limit.
  bool Text(uint64_t at, uint64_t limit, std::string& text) const {
    if (at >= m_data.size()) return false;
    const size_t span = static_cast<size_t>(std::min<uint64_t>(limit, m_data.size() - at));
    const char* begin = m_data.data() + at;
    const void* end = std::memchr(begin, '\0', span);
    if (!end) return false;
    text.assign(begin, static_cast<const char*>(end));
    return true;
  }

 private:
  template <typename T>
  bool Read(uint64_t at, int count, T& v) const {
    if (!Has(at, count)) return false;
    v = 0;
    for (int i = count - 1; i >= 0; --i) v = static_cast<T>((v << 8) | static_cast<uint8_t>(m_data[at + i]));
    return true;
  }
  const std::string& m_data;
};

struct Section {
  uint32_t virtualAddress, virtualSize, rawSize, rawOffset;
};

// The file offset of a relative virtual address, through the section holding it.
bool RvaToOffset(const std::vector<Section>& sections, uint32_t rva, uint64_t& offset) {
  for (const Section& s : sections) {
    const uint32_t extent = std::max(s.virtualSize, s.rawSize);
    if (rva >= s.virtualAddress && rva - s.virtualAddress < extent) {
      if (rva - s.virtualAddress >= s.rawSize) return false;  // not in the file
      offset = uint64_t{s.rawOffset} + (rva - s.virtualAddress);
      return true;
    }
  }
  return false;
}

bool ReadSections(const Bytes& b, uint64_t at, uint16_t count, std::vector<Section>& sections) {
  for (uint16_t i = 0; i < count; ++i, at += kSectionHeaderBytes) {
    Section s{};
    if (!b.U32(at + 8, s.virtualSize) || !b.U32(at + 12, s.virtualAddress) || !b.U32(at + 16, s.rawSize) ||
        !b.U32(at + 20, s.rawOffset))
      return false;
    sections.push_back(s);
  }
  return true;
}

// The names of the export directory at `rva`; an image without one exports
// nothing. Names may share their bytes, so their total, terminators counted,
// is held to kMaxExportNameBytes whatever the file's size.
bool ReadExports(const Bytes& b, const std::vector<Section>& sections, uint32_t rva, std::vector<std::string>& names) {
  if (rva == 0) return true;
  uint64_t directory = 0;
  uint32_t count = 0, namesRva = 0;
  if (!RvaToOffset(sections, rva, directory) || !b.Has(directory, kExportDirectoryBytes) ||
      !b.U32(directory + 24, count) || !b.U32(directory + 32, namesRva))
    return false;
  if (count > kMaxExportNames) return false;
  uint64_t table = 0;
  if (count != 0 && !RvaToOffset(sections, namesRva, table)) return false;
  uint64_t budget = kMaxExportNameBytes;
  for (uint32_t i = 0; i < count; ++i) {
    uint32_t nameRva = 0;
    uint64_t nameOffset = 0;
    std::string name;
    if (!b.U32(table + uint64_t{i} * 4, nameRva) || !RvaToOffset(sections, nameRva, nameOffset) ||
        !b.Text(nameOffset, budget, name))
      return false;
    budget -= name.size() + 1;
    names.push_back(std::move(name));
  }
  return true;
}

}  // namespace

bool ParsePeImage(const std::string& data, PeImage& image) {
  const Bytes b(data);
  image = {};
  uint32_t header = 0, signature = 0;
  uint16_t mz = 0, sectionCount = 0, optionalSize = 0, characteristics = 0, magic = 0;
  if (!b.U16(0, mz) || mz != 0x5A4D || !b.U32(kDosHeaderNewOffset, header)) return false;  // "MZ"
  if (!b.U32(header, signature) || signature != 0x00004550) return false;                  // "PE\0\0"
  const uint64_t file = uint64_t{header} + 4, optional = file + kFileHeaderBytes;
  if (!b.U16(file, image.machine) || !b.U16(file + 2, sectionCount) || !b.U16(file + 16, optionalSize) ||
      !b.U16(file + 18, characteristics) || !b.U16(optional, magic))
    return false;
  if (magic != kOptionalMagicPe32 && magic != kOptionalMagicPe32Plus) return false;
  image.pe32Plus = magic == kOptionalMagicPe32Plus;
  image.isDll = (characteristics & kCharacteristicDll) != 0;

  uint32_t directoryCount = 0, exportRva = 0;
  const uint32_t countAt = image.pe32Plus ? kDirectoryCountPe32Plus : kDirectoryCountPe32;
  const uint32_t directoriesAt = image.pe32Plus ? kDirectoriesPe32Plus : kDirectoriesPe32;
  if (optionalSize >= directoriesAt + 8 && b.U32(optional + countAt, directoryCount) && directoryCount > 0 &&
      !b.U32(optional + directoriesAt, exportRva))
    return false;
  std::vector<Section> sections;
  if (!ReadSections(b, optional + optionalSize, sectionCount, sections)) return false;
  if (ReadExports(b, sections, directoryCount > 0 ? exportRva : 0, image.exports)) return true;
  image.exports.clear();  // no names of an image refused half-way
  return false;
}

bool ReadPeImage(const std::wstring& path, PeImage& image) {
  std::string bytes;
  return ReadFileBytes(path, kMaxImageBytes, bytes) && ParsePeImage(bytes, image);
}

bool IsX64Image(const PeImage& image) { return image.machine == kPeMachineAmd64 && image.pe32Plus; }
bool IsX86Image(const PeImage& image) { return image.machine == kPeMachineI386 && !image.pe32Plus; }

bool ExportsName(const PeImage& image, const std::string& name) {
  return std::find(image.exports.begin(), image.exports.end(), name) != image.exports.end();
}
