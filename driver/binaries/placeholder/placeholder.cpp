// A stand-in for the driver DLLs of the sample package (Unidrv core and UI,
// resource and plug-in DLLs): a valid DLL of its folder's architecture that
// does nothing, so the spooler and the loader accept the files while the
// package is exercised.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
