#include "base/text_line_reader.h"

#include <algorithm>

namespace {
constexpr uint32_t kChunkBytes = 4096;
}

bool CTextLineReader::Open(const std::wstring& path) {
  m_file = plat::FileHandle(plat::CreateFileW(path, plat::kGenericRead, plat::kFileShareRead | plat::kFileShareWrite,
                                              plat::kOpenExisting));
  m_nPos = m_nEnd = 0;
  m_bReadFailed = false;
  return m_file.valid();
}

bool CTextLineReader::Rewind() {
  m_nPos = m_nEnd = 0;
  m_bReadFailed = false;
  return m_file.valid() && plat::SetFilePointerToStart(m_file.get());
}

bool CTextLineReader::Fill() {
  if (!m_file.valid() || m_bReadFailed) return false;
  m_buffer.resize(kChunkBytes);
  uint32_t read = 0;
  if (!plat::ReadFile(m_file.get(), m_buffer.data(), kChunkBytes, read)) {
    m_bReadFailed = true;
    return false;
  }
  m_nPos = 0;
  m_nEnd = read;
  return read > 0;
}

bool CTextLineReader::ReadLine(std::wstring& line) {
  line.clear();
  bool gotAny = false;
  while (m_nPos < m_nEnd || Fill()) {
    gotAny = true;
    const char* begin = m_buffer.data() + m_nPos;
    const char* end = m_buffer.data() + m_nEnd;
    const char* lf = std::find(begin, end, '\n');
    const size_t kept = line.size();
    line.resize(kept + (lf - begin));
    std::transform(begin, lf, line.begin() + kept, [](char c) { return static_cast<wchar_t>(static_cast<unsigned char>(c)); });
    m_nPos = lf - m_buffer.data();
    if (lf != end) {
      ++m_nPos;
      if (!line.empty() && line.back() == L'\r') line.pop_back();
      return true;
    }
  }
  return gotAny && !m_bReadFailed;
}
