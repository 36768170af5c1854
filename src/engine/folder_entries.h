// Walking the entries of one folder in the order the file system yields them.
#pragma once
#include <functional>
#include <string>

// Calls `visit` for every entry of `folder` (ending in "\") matching "*.*",
// hidden and system entries included, "." and ".." and reparse points
// (junctions, symbolic links) skipped. False when the folder cannot be
// listed (missing, no right to list it), with FindFirstFileW's last error.
bool ForEachFolderEntry(const std::wstring& folder,
                        const std::function<void(const std::wstring& name, bool isFolder)>& visit);
