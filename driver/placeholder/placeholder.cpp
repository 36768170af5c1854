// A stand-in for the driver DLLs of the sample package (Unidrv core and UI,
// resource and plug-in DLLs): a valid 32-bit DLL that does nothing, so the
// spooler and the loader accept the files while the package is exercised.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
