// Which configured model names the model page may offer: a model name becomes
// the name of its data file (name + ".GPD") in the spooler's driver folder,
// so only a name that is one plain file name gets a row.
#pragma once
#include <string>

// Before every model name: in the model list and in the printer's name.
inline constexpr wchar_t kBrandPrefix[] = L"Quillex ";

// False for an empty name, a name holding \ / : * ? " < > | or a control
// character, "." and every name containing "..", a reserved device name (CON,
// PRN, AUX, NUL, COM1-COM9, LPT1-LPT9, whatever follows a dot), and a name
// whose data file name is longer than one path component (255 units).
bool CanNameDataFile(const std::wstring& modelName);
