#include <windows.h>
#include <winspool.h>

#include <vector>

#include "platform/spooler.h"
#include "platform/win32/system_library.h"

namespace plat {

namespace {

// The spooler's client library is not a known DLL: bound on first use, from
// the UI thread (the port list) or the install worker, whichever comes first.
constinit SystemLibrary s_winspool(L"winspool.drv");
constinit SystemProc<decltype(&::GetPrinterDriverDirectoryW)> s_getPrinterDriverDirectory(s_winspool,
                                                                                         "GetPrinterDriverDirectoryW");
constinit SystemProc<decltype(&::AddMonitorW)> s_addMonitor(s_winspool, "AddMonitorW");
constinit SystemProc<decltype(&::DeleteMonitorW)> s_deleteMonitor(s_winspool, "DeleteMonitorW");
constinit SystemProc<decltype(&::AddPrinterDriverW)> s_addPrinterDriver(s_winspool, "AddPrinterDriverW");
constinit SystemProc<decltype(&::DeletePrinterDriverW)> s_deletePrinterDriver(s_winspool, "DeletePrinterDriverW");
constinit SystemProc<decltype(&::AddPrinterW)> s_addPrinter(s_winspool, "AddPrinterW");
constinit SystemProc<decltype(&::EnumPrintersW)> s_enumPrinters(s_winspool, "EnumPrintersW");
constinit SystemProc<decltype(&::EnumPrinterDriversW)> s_enumDrivers(s_winspool, "EnumPrinterDriversW");
constinit SystemProc<decltype(&::DeletePrinter)> s_deletePrinter(s_winspool, "DeletePrinter");
constinit SystemProc<decltype(&::OpenPrinterW)> s_openPrinter(s_winspool, "OpenPrinterW");
constinit SystemProc<decltype(&::ClosePrinter)> s_closePrinter(s_winspool, "ClosePrinter");
constinit SystemProc<decltype(&::GetPrinterW)> s_getPrinter(s_winspool, "GetPrinterW");
constinit SystemProc<decltype(&::SetPrinterW)> s_setPrinter(s_winspool, "SetPrinterW");
constinit SystemProc<decltype(&::DocumentPropertiesW)> s_documentProperties(s_winspool, "DocumentPropertiesW");
constinit SystemProc<decltype(&::EnumPortsW)> s_enumPorts(s_winspool, "EnumPortsW");
constinit SystemProc<BOOL(WINAPI*)(LPCWSTR)> s_ordinal204(s_winspool, 204);

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
  auto getDirectory = s_getPrinterDriverDirectory.Get();
  if (!getDirectory) return false;
  std::vector<wchar_t> buffer(bufferBytes / sizeof(wchar_t) + 1, L'\0');
  DWORD needed = 0;
  if (!getDirectory(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(buffer.data()), bufferBytes, &needed)) return false;
  directory = buffer.data();
  return true;
}

bool AddMonitorW(const MonitorInfo2& info) {
  auto addMonitor = s_addMonitor.Get();
  if (!addMonitor) return false;
  MONITOR_INFO_2W mi{Ptr(info.name), Ptr(info.environment), Ptr(info.dllName)};
  return addMonitor(nullptr, 2, reinterpret_cast<LPBYTE>(&mi)) != FALSE;
}

bool DeleteMonitorW(const std::wstring& monitorName) {
  auto deleteMonitor = s_deleteMonitor.Get();
  return deleteMonitor && deleteMonitor(nullptr, nullptr, Ptr(monitorName)) != FALSE;
}

bool DeletePrinterDriverW(const std::wstring& driverName) {
  auto deleteDriver = s_deletePrinterDriver.Get();
  return deleteDriver && deleteDriver(nullptr, nullptr, Ptr(driverName)) != FALSE;
}

bool AddPrinterDriverW(const DriverInfo6& info) {
  auto addDriver = s_addPrinterDriver.Get();
  if (!addDriver) return false;
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
  return addDriver(nullptr, 6, reinterpret_cast<LPBYTE>(&di)) != FALSE;
}

Handle AddPrinterW(const PrinterInfo2& info) {
  auto addPrinter = s_addPrinter.Get();
  if (!addPrinter) return nullptr;
  PRINTER_INFO_2W p = ToApi(info);
  return addPrinter(nullptr, 2, reinterpret_cast<LPBYTE>(&p));
}

bool EnumPrintersW(std::vector<PrinterInfo2>* printers, uint32_t bufferBytes, uint32_t& neededBytes) {
  neededBytes = 0;
  auto enumPrinters = s_enumPrinters.Get();
  if (!enumPrinters) return false;
  std::vector<BYTE> buffer(printers ? bufferBytes : 0);
  DWORD needed = 0, count = 0;
  const bool ok = enumPrinters(PRINTER_ENUM_LOCAL, nullptr, 2, printers ? buffer.data() : nullptr,
                               printers ? bufferBytes : 0, &needed, &count) != FALSE;
  neededBytes = needed;
  if (ok && printers) {
    printers->clear();
    const auto* records = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
    for (DWORD i = 0; i < count; ++i) printers->push_back(FromApi(records[i]));
  }
  return ok;
}

bool EnumPrinterDriversW(std::vector<DriverInfo3>& drivers) {
  auto enumDrivers = s_enumDrivers.Get();
  if (!enumDrivers) return false;
  constexpr int kTries = 3;  // a driver added between the size query and the read
  std::vector<BYTE> buffer;
  for (int attempt = 0; attempt < kTries; ++attempt) {
    DWORD needed = 0, count = 0;
    if (enumDrivers(nullptr, nullptr, 3, buffer.data(), static_cast<DWORD>(buffer.size()), &needed, &count)) {
      drivers.clear();
      const auto* records = reinterpret_cast<const DRIVER_INFO_3W*>(buffer.data());
      for (DWORD i = 0; i < count; ++i)
        drivers.push_back({records[i].pName ? records[i].pName : L"", records[i].pDataFile ? records[i].pDataFile : L"",
                           Text(records[i].pMonitorName)});
      return true;
    }
    if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER) return false;
    buffer.resize(needed);
  }
  return false;
}

bool DeletePrinter(Handle printer) {
  auto deletePrinter = s_deletePrinter.Get();
  return deletePrinter && deletePrinter(printer) != FALSE;
}

bool OpenPrinterW(const std::wstring& name, Handle& printer, const PrinterDefaults* defaults) {
  printer = nullptr;
  auto openPrinter = s_openPrinter.Get();
  if (!openPrinter) return false;
  PRINTER_DEFAULTSW d{};
  if (defaults) d = {Ptr(defaults->datatype), DevModePtr(defaults->devMode), defaults->desiredAccess};
  HANDLE h = nullptr;
  bool ok = openPrinter(Ptr(name), &h, defaults ? &d : nullptr) != FALSE;
  printer = h;
  return ok;
}

bool ClosePrinter(Handle printer) {
  auto closePrinter = s_closePrinter.Get();
  return closePrinter && closePrinter(printer) != FALSE;
}

bool GetPrinterW(Handle printer, PrinterInfo2* info, uint32_t bufferBytes, uint32_t& neededBytes) {
  neededBytes = 0;
  auto getPrinter = s_getPrinter.Get();
  if (!getPrinter) return false;
  std::vector<BYTE> buffer(info ? bufferBytes : 0);
  DWORD needed = 0;
  bool ok = getPrinter(printer, 2, info ? buffer.data() : nullptr, info ? bufferBytes : 0, &needed) != FALSE;
  neededBytes = needed;
  if (ok && info) *info = FromApi(*reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data()));
  return ok;
}

bool SetPrinterW(Handle printer, const PrinterInfo2& info) {
  auto setPrinter = s_setPrinter.Get();
  if (!setPrinter) return false;
  PRINTER_INFO_2W p = ToApi(info);
  return setPrinter(printer, 2, reinterpret_cast<LPBYTE>(&p), 0) != FALSE;
}

int32_t DocumentPropertiesW(Handle printer, const std::wstring& deviceName, DevMode* out, const DevMode* in,
                            uint32_t mode) {
  auto documentProperties = s_documentProperties.Get();
  if (!documentProperties) return -1;
  return documentProperties(nullptr, printer, Ptr(deviceName), out ? DevModePtr(*out) : nullptr,
                            in ? DevModePtr(*in) : nullptr, mode);
}

static_assert(sizeof(PortInfo1) == sizeof(PORT_INFO_1W), "one level-1 port record");

bool EnumPortsW(uint8_t* buffer, uint32_t bufferBytes, uint32_t& neededBytes, uint32_t& returned) {
  neededBytes = returned = 0;
  auto enumPorts = s_enumPorts.Get();
  if (!enumPorts) return false;
  DWORD needed = 0, count = 0;
  bool ok = enumPorts(nullptr, 1, buffer, bufferBytes, &needed, &count) != FALSE;
  neededBytes = needed;
  returned = count;
  return ok;
}

void CallSpoolerOrdinal204(const std::wstring& printerName) {
  if (auto ordinal204 = s_ordinal204.Get()) ordinal204(printerName.c_str());
}

}  // namespace plat
