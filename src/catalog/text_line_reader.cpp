#include "catalog/text_line_reader.h"

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
    char c = m_buffer[m_nPos++];
    gotAny = true;
    if (c == '\n') {
      if (!line.empty() && line.back() == L'\r') line.pop_back();
      return true;
    }
    line.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
  }
  return gotAny && !m_bReadFailed;
}
