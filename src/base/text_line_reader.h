// Reads an 8-bit text file line by line, each byte one character of the same
// code (no code-page conversion).
#pragma once
#include <string>
#include <vector>

#include "platform/files.h"

class CTextLineReader {
 public:
  // Opens `path` for reading while others may read and write it (share-deny-none).
  bool Open(const std::wstring& path);
  // Back to the first byte; false when no file is open.
  bool Rewind();
  // The next line without its LF, a CR right before the LF dropped; the last
  // line counts without LF too. False at the end of the file, and when a read
  // fails (then ReadFailed() tells so and the last error is ReadFile's).
  bool ReadLine(std::wstring& line);
  bool ReadFailed() const { return m_bReadFailed; }

 private:
  // Refills the buffer; false at the end of the file or on a read error.
  bool Fill();

  plat::FileHandle m_file;
  std::vector<char> m_buffer;
  size_t m_nPos = 0;
  size_t m_nEnd = 0;
  bool m_bReadFailed = false;
};
