// Walking the entries of one folder in the order the file system yields them.
#pragma once
#include <functional>
#include <string>

// Calls `visit` for every entry of `folder` (ending in "\") matching "*.*",
// hidden and system entries included, "." and ".." and reparse points
// (junctions, symbolic links) skipped.
void ForEachFolderEntry(const std::wstring& folder,
                        const std::function<void(const std::wstring& name, bool isFolder)>& visit);
