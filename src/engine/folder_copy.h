// Copying a folder tree flat into one folder.
#pragma once
#include <string>

// Copies every file below `source` (ending in "\") straight into
// `destination` (ending in "\"): an identical destination is left alone, a
// different one replaced. A destination of the source's size and last-write
// time counts as identical without reading either. No service is touched and no box shown: a file
// that cannot be copied (in use, read-only, ...) is written to the install
// log and the walk goes on. The result is that of the last file copy or
// sub-folder visit, false when there was none.
bool CopyFolderTree(const std::wstring& source, const std::wstring& destination);
