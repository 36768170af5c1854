// Where the process's later DLL loads come from.
#pragma once

namespace plat {

// Restricts the DLL search of every later load in the process, the system
// DLLs' own loads included, to the system folder; the entry point's first
// step. Where Windows lacks the search flags (Windows 7 without KB2533623) it
// takes the current folder out of the search instead and returns false.
bool RestrictDllSearchToSystemFolder();

}  // namespace plat
