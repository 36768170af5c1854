// QXLMON.dll: the Kelvane language monitor of the Quillex printers.
//
// A language monitor sits between the spooler and the port monitor of the
// printer's port. This one passes every job through unchanged and forwards
// reads, so the printer's status replies reach the driver.
#include <windows.h>
#include <winspool.h>
#include <winsplp.h>

namespace {

// One open port: the port monitor below us and its handle for the port.
struct LanguagePort {
  MONITOR2* portMonitor;
  HANDLE portHandle;
};

LanguagePort* PortOf(HANDLE h) { return static_cast<LanguagePort*>(h); }

BOOL WINAPI OpenPortEx(HANDLE, HANDLE hMonitorPort, LPWSTR pPortName, LPWSTR, PHANDLE pHandle,
                       MONITOR2* pMonitor2) {
  if (!pHandle || !pMonitor2 || !pMonitor2->pfnOpenPort) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  HANDLE portHandle = nullptr;
  if (!pMonitor2->pfnOpenPort(hMonitorPort, pPortName, &portHandle)) return FALSE;
  auto* port = static_cast<LanguagePort*>(HeapAlloc(GetProcessHeap(), 0, sizeof(LanguagePort)));
  if (!port) {
    if (pMonitor2->pfnClosePort) pMonitor2->pfnClosePort(portHandle);
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return FALSE;
  }
  *port = {pMonitor2, portHandle};
  *pHandle = port;
  return TRUE;
}

BOOL WINAPI StartDocPort(HANDLE hPort, LPWSTR pPrinterName, DWORD jobId, DWORD level, LPBYTE pDocInfo) {
  LanguagePort* port = PortOf(hPort);
  return port->portMonitor->pfnStartDocPort(port->portHandle, pPrinterName, jobId, level, pDocInfo);
}

BOOL WINAPI WritePort(HANDLE hPort, LPBYTE pBuffer, DWORD cbBuf, LPDWORD pcbWritten) {
  LanguagePort* port = PortOf(hPort);
  return port->portMonitor->pfnWritePort(port->portHandle, pBuffer, cbBuf, pcbWritten);
}

BOOL WINAPI ReadPort(HANDLE hPort, LPBYTE pBuffer, DWORD cbBuffer, LPDWORD pcbRead) {
  LanguagePort* port = PortOf(hPort);
  if (!port->portMonitor->pfnReadPort) {
    *pcbRead = 0;
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
  }
  return port->portMonitor->pfnReadPort(port->portHandle, pBuffer, cbBuffer, pcbRead);
}

BOOL WINAPI EndDocPort(HANDLE hPort) {
  LanguagePort* port = PortOf(hPort);
  return port->portMonitor->pfnEndDocPort(port->portHandle);
}

BOOL WINAPI ClosePort(HANDLE hPort) {
  LanguagePort* port = PortOf(hPort);
  BOOL closed = port->portMonitor->pfnClosePort ? port->portMonitor->pfnClosePort(port->portHandle) : TRUE;
  HeapFree(GetProcessHeap(), 0, port);
  return closed;
}

BOOL WINAPI GetPrinterDataFromPort(HANDLE, DWORD, LPWSTR, LPWSTR, DWORD, LPWSTR, DWORD, LPDWORD pcbReturned) {
  if (pcbReturned) *pcbReturned = 0;
  SetLastError(ERROR_NOT_SUPPORTED);
  return FALSE;
}

VOID WINAPI Shutdown(HANDLE) {}

MONITOR2 g_monitor = [] {
  MONITOR2 m{};
  m.cbSize = sizeof(MONITOR2);
  m.pfnOpenPortEx = OpenPortEx;
  m.pfnStartDocPort = StartDocPort;
  m.pfnWritePort = WritePort;
  m.pfnReadPort = ReadPort;
  m.pfnEndDocPort = EndDocPort;
  m.pfnClosePort = ClosePort;
  m.pfnGetPrinterDataFromPort = GetPrinterDataFromPort;
  m.pfnShutdown = Shutdown;
  return m;
}();

}  // namespace

extern "C" __declspec(dllexport) LPMONITOR2 WINAPI InitializePrintMonitor2(PMONITORINIT pMonitorInit,
                                                                           PHANDLE phMonitor) {
  if (!pMonitorInit || !phMonitor) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  *phMonitor = reinterpret_cast<HANDLE>(&g_monitor);
  return &g_monitor;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(instance);
  return TRUE;
}
