#include <windows.h>
#include <winspool.h>

#include <vector>

#include "platform/spooler.h"

namespace plat {

namespace {

LPWSTR Ptr(const OptText& text) { return text ? const_cast<LPWSTR>(text->c_str()) : nullptr; }
LPWSTR Ptr(const std::wstring& text) { return const_cast<LPWSTR>(text.c_str()); }
OptText Text(LPCWSTR text) { return text ? OptText(text) : std::nullopt; }

DevMode DevModeBytes(const DEVMODEW* dm) {
  if (!dm) return {};
  const BYTE* bytes = reinterpret_cast<const BYTE*>(dm);
  return DevMode(bytes, bytes + dm->dmSize + dm->dmDriverExtra);
}

DEVMODEW* DevModePtr(const DevMode& bytes) {
  return bytes.empty() ? nullptr : reinterpret_cast<DEVMODEW*>(const_cast<uint8_t*>(bytes.data()));
}

PrinterInfo2 FromApi(const PRINTER_INFO_2W& p) {
  PrinterInfo2 info;
  info.serverName = Text(p.pServerName);
  info.printerName = Text(p.pPrinterName);
  info.shareName = Text(p.pShareName);
  info.portName = Text(p.pPortName);
  info.driverName = Text(p.pDriverName);
  info.comment = Text(p.pComment);
  info.location = Text(p.pLocation);
  info.devMode = DevModeBytes(p.pDevMode);
  info.sepFile = Text(p.pSepFile);
  info.printProcessor = Text(p.pPrintProcessor);
  info.datatype = Text(p.pDatatype);
  info.parameters = Text(p.pParameters);
  if (p.pSecurityDescriptor) {
    const BYTE* sd = static_cast<const BYTE*>(p.pSecurityDescriptor);
    info.securityDescriptor.assign(sd, sd + GetSecurityDescriptorLength(p.pSecurityDescriptor));
  }
  info.attributes = p.Attributes;
  info.priority = p.Priority;
  info.defaultPriority = p.DefaultPriority;
  info.startTime = p.StartTime;
  info.untilTime = p.UntilTime;
  info.status = p.Status;
  info.jobs = p.cJobs;
  info.averagePpm = p.AveragePPM;
  return info;
}

// The API record pointing into `info`, which must outlive it.
PRINTER_INFO_2W ToApi(const PrinterInfo2& info) {
  PRINTER_INFO_2W p{};
  p.pServerName = Ptr(info.serverName);
  p.pPrinterName = Ptr(info.printerName);
  p.pShareName = Ptr(info.shareName);
  p.pPortName = Ptr(info.portName);
  p.pDriverName = Ptr(info.driverName);
  p.pComment = Ptr(info.comment);
  p.pLocation = Ptr(info.location);
  p.pDevMode = DevModePtr(info.devMode);
  p.pSepFile = Ptr(info.sepFile);
  p.pPrintProcessor = Ptr(info.printProcessor);
  p.pDatatype = Ptr(info.datatype);
  p.pParameters = Ptr(info.parameters);
  p.pSecurityDescriptor =
      info.securityDescriptor.empty() ? nullptr : const_cast<uint8_t*>(info.securityDescriptor.data());
  p.Attributes = info.attributes;
  p.Priority = info.priority;
  p.DefaultPriority = info.defaultPriority;
  p.StartTime = info.startTime;
  p.UntilTime = info.untilTime;
  p.Status = info.status;
  p.cJobs = info.jobs;
  p.AveragePPM = info.averagePpm;
  return p;
}

}  // namespace

bool GetPrinterDriverDirectoryW(uint32_t bufferBytes, std::wstring& directory) {
  std::vector<wchar_t> buffer(bufferBytes / sizeof(wchar_t) + 1, L'\0');
  DWORD needed = 0;
  if (!::GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(buffer.data()), bufferBytes,
                                    &needed))
    return false;
  directory = buffer.data();
  return true;
}

bool AddMonitorW(const MonitorInfo2& info) {
  MONITOR_INFO_2W mi{Ptr(info.name), Ptr(info.environment), Ptr(info.dllName)};
  return ::AddMonitorW(nullptr, 2, reinterpret_cast<LPBYTE>(&mi)) != FALSE;
}

bool DeleteMonitorW(const std::wstring& monitorName) {
  return ::DeleteMonitorW(nullptr, nullptr, Ptr(monitorName)) != FALSE;
}

bool AddPrinterDriverW(const DriverInfo6& info) {
  DRIVER_INFO_6W di{};
  di.cVersion = info.version;
  di.pName = Ptr(info.name);
  di.pEnvironment = Ptr(info.environment);
  di.pDriverPath = Ptr(info.driverPath);
  di.pDataFile = Ptr(info.dataFile);
  di.pConfigFile = Ptr(info.configFile);
  di.pHelpFile = Ptr(info.helpFile);
  di.pDependentFiles = info.dependentFiles.empty() ? nullptr : const_cast<wchar_t*>(info.dependentFiles.data());
  di.pMonitorName = Ptr(info.monitorName);
  di.pDefaultDataType = Ptr(info.defaultDataType);
  di.pszzPreviousNames = Ptr(info.previousNames);
  di.ftDriverDate.dwLowDateTime = static_cast<DWORD>(info.driverDate);
  di.ftDriverDate.dwHighDateTime = static_cast<DWORD>(info.driverDate >> 32);
  di.dwlDriverVersion = info.driverVersion;
  di.pszMfgName = Ptr(info.mfgName);
  di.pszOEMUrl = Ptr(info.oemUrl);
  di.pszHardwareID = Ptr(info.hardwareId);
  di.pszProvider = Ptr(info.provider);
  return ::AddPrinterDriverW(nullptr, 6, reinterpret_cast<LPBYTE>(&di)) != FALSE;
}

Handle AddPrinterW(const PrinterInfo2& info) {
  PRINTER_INFO_2W p = ToApi(info);
  return ::AddPrinterW(nullptr, 2, reinterpret_cast<LPBYTE>(&p));
}

bool OpenPrinterW(const std::wstring& name, Handle& printer, const PrinterDefaults* defaults) {
  PRINTER_DEFAULTSW d{};
  if (defaults) d = {Ptr(defaults->datatype), DevModePtr(defaults->devMode), defaults->desiredAccess};
  HANDLE h = nullptr;
  bool ok = ::OpenPrinterW(Ptr(name), &h, defaults ? &d : nullptr) != FALSE;
  printer = h;
  return ok;
}

bool ClosePrinter(Handle printer) { return ::ClosePrinter(printer) != FALSE; }

bool GetPrinterW(Handle printer, PrinterInfo2* info, uint32_t bufferBytes, uint32_t& neededBytes) {
  std::vector<BYTE> buffer(info ? bufferBytes : 0);
  DWORD needed = 0;
  bool ok = ::GetPrinterW(printer, 2, info ? buffer.data() : nullptr, info ? bufferBytes : 0, &needed) != FALSE;
  neededBytes = needed;
  if (ok && info) *info = FromApi(*reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data()));
  return ok;
}

bool SetPrinterW(Handle printer, const PrinterInfo2& info) {
  PRINTER_INFO_2W p = ToApi(info);
  return ::SetPrinterW(printer, 2, reinterpret_cast<LPBYTE>(&p), 0) != FALSE;
}

int32_t DocumentPropertiesW(Handle printer, const std::wstring& deviceName, DevMode* out, const DevMode* in,
                            uint32_t mode) {
  return ::DocumentPropertiesW(nullptr, printer, Ptr(deviceName), out ? DevModePtr(*out) : nullptr,
                               in ? DevModePtr(*in) : nullptr, mode);
}

static_assert(sizeof(PortInfo1) == sizeof(PORT_INFO_1W), "one level-1 port record");

bool EnumPortsW(uint8_t* buffer, uint32_t bufferBytes, uint32_t& neededBytes, uint32_t& returned) {
  DWORD needed = 0, count = 0;
  bool ok = ::EnumPortsW(nullptr, 1, buffer, bufferBytes, &needed, &count) != FALSE;
  neededBytes = needed;
  returned = count;
  return ok;
}

void CallSpoolerOrdinal204(const std::wstring& printerName) {
  using Fn = BOOL(WINAPI*)(LPCWSTR);
  HMODULE spooler = ::GetModuleHandleW(L"winspool.drv");
  auto fn = spooler ? reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(spooler, MAKEINTRESOURCEA(204))))
                    : nullptr;
  if (fn) fn(printerName.c_str());
}

}  // namespace plat
