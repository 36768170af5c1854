// Copying a folder tree flat into one folder.
#pragma once
#include <string>

// Copies every file below `source` (ending in "\") straight into
// `destination` (ending in "\") with CopyFileProtected. The result is that of
// the last file copy or sub-folder visit, false when there was none.
bool CopyFolderTree(const std::wstring& source, const std::wstring& destination);
