// Where the driver package and the 64-bit install program are read from:
// the executable's folder, or the copy an elevated installer made of them
// where no process of the user can change them (engine/payload_folder.h).
#pragma once
#include <string>

// Ends in "\".
std::wstring GetPackageRootDirectory();

// While `folder` (ending in "\") is set, the package is read there; an
// empty one reads it beside the executable again. Set and read by the
// thread that installs.
void SetPackageRootDirectory(const std::wstring& folder);
