// Copies of files that the running print spooler may hold open.
#pragma once
#include <string>

// Copies `source` to `destination`: an identical destination is left alone,
// a different one replaced; one that is in use or read-only is replaced while
// the "Spooler" service is stopped, and the spooler is started again after.
// True when the destination holds the source's content at the end; false as
// well when the copy worked but the spooler could not be started again.
// Shows error box "2" when the copy itself failed.
bool CopyFileProtected(const std::wstring& source, const std::wstring& destination);

// True when both files open and have the same length and bytes. The
// destination is read fully shared, the source without sharing.
bool FilesIdentical(const std::wstring& source, const std::wstring& destination);
