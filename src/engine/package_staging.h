// Staging the driver package: its branch's files into the spooler's driver
// directory, its INF into the system's INF store.
#pragma once
#include <string>

#include "catalog/pin_family.h"

// True when the files were copied and the INF staged. On false the last
// error is what the last platform call of the staging left (the INF's own
// error when the staging failed); error box "3" when the INF could not be staged.
bool StageDriverPackage(PinFamily pinFamily, const std::wstring& dataFile);

// Copies the files of `sourceFolder`'s tree named in the copy list flat into
// `destinationFolder` (both ending in "\"); names match whole entries of the
// list in any letter case. Protected files go through CopyFileProtected, the
// others never replace an existing file. True when at least one protected
// file reached the destination and none failed. A source folder that cannot
// be listed, or a qualifying ".dll" of no bytes, copies nothing: false with
// a log entry and error box "2".
bool CopyPackageFiles(const std::wstring& sourceFolder, const std::wstring& destinationFolder,
                      const std::wstring& dataFile, PinFamily pinFamily);
