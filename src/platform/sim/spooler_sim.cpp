#include "platform/sim/spooler.h"

#include <algorithm>
#include <cstring>

#include "platform/error.h"
#include "platform/services.h"
#include "platform/sim/machine.h"

namespace sim {

namespace {
std::wstring Upper(const std::wstring& s) { return FileSystem::Key(s); }
}  // namespace

Spooler::Spooler() {
  ports = {L"LPT1:", L"LPT2:", L"LPT3:", L"COM1:", L"FILE:"};
}

void Spooler::AddExistingPrinter(const std::wstring& name, const std::wstring& port) {
  plat::PrinterInfo2 info;
  info.printerName = name;
  info.portName = port;
  info.driverName = name;
  info.printProcessor = L"winprint";
  info.datatype = L"RAW";
  info.attributes = plat::kPrinterAttributeLocal;
  printers[Upper(name)] = info;
}

void Spooler::FinishJobs(const std::wstring& name) {
  auto it = printers.find(Upper(name));
  if (it == printers.end()) return;
  it->second.jobs = 0;
  if (it->second.status & plat::kPrinterStatusPendingDeletion) printers.erase(it);
}

const plat::PrinterInfo2* Spooler::Printer(const std::wstring& name) const {
  auto it = printers.find(Upper(name));
  return it == printers.end() ? nullptr : &it->second;
}

const plat::DriverInfo6* Spooler::Driver(const std::wstring& name) const {
  auto it = drivers.find(Upper(name));
  return it == drivers.end() ? nullptr : &it->second;
}

const plat::MonitorInfo2* Spooler::Monitor(const std::wstring& name) const {
  auto it = monitors.find(Upper(name));
  return it == monitors.end() ? nullptr : &it->second;
}

plat::DevMode Spooler::DriverDevMode(const std::wstring& deviceName, bool withOrientation) {
  constexpr size_t kSize = 220;
  plat::DevMode dm(kSize, 0);
  for (size_t i = 0; i < deviceName.size() && i < 31; ++i) {
    dm[2 * i] = static_cast<uint8_t>(deviceName[i] & 0xFF);
    dm[2 * i + 1] = static_cast<uint8_t>((deviceName[i] >> 8) & 0xFF);
  }
  auto put16 = [&](size_t at, uint16_t v) {
    dm[at] = static_cast<uint8_t>(v);
    dm[at + 1] = static_cast<uint8_t>(v >> 8);
  };
  put16(64, 0x0401);  // dmSpecVersion
  put16(68, kSize);   // dmSize
  uint32_t fields = 0x2 | (withOrientation ? plat::kDmOrientation : 0);  // DM_PAPERSIZE
  std::memcpy(&dm[72], &fields, 4);
  put16(76, 1);  // dmOrientation: portrait
  put16(78, 9);  // dmPaperSize: A4
  return dm;
}

}  // namespace sim

namespace plat {

namespace {

sim::Spooler& Sp() { return sim::machine().spooler; }
std::wstring Upper(const std::wstring& s) { return sim::FileSystem::Key(s); }

bool Fail(uint32_t error) {
  SetLastError(error);
  return false;
}

// The spooler's operations need the "Spooler" service to run.
bool Unavailable() {
  sim::Machine& m = sim::machine();
  if (m.services.StateAt(L"Spooler", m.clock.NowMs()) == kServiceRunning) return false;
  SetLastError(kRpcServerUnavailable);
  return true;
}

const std::wstring* PrinterOf(Handle h) {
  auto it = Sp().open.find(sim::Id(h));
  return it == Sp().open.end() ? nullptr : &it->second;
}

bool KnownPort(const std::wstring& name) {
  return std::any_of(Sp().ports.begin(), Sp().ports.end(), [&](const std::wstring& p) { return Upper(p) == Upper(name); });
}

uint32_t TextBytes(const OptText& t) { return t ? static_cast<uint32_t>((t->size() + 1) * 2) : 0; }

uint32_t InfoBytes(const PrinterInfo2& p) {
  return 84 + TextBytes(p.serverName) + TextBytes(p.printerName) + TextBytes(p.shareName) + TextBytes(p.portName) +
         TextBytes(p.driverName) + TextBytes(p.comment) + TextBytes(p.location) + TextBytes(p.sepFile) +
         TextBytes(p.printProcessor) + TextBytes(p.datatype) + TextBytes(p.parameters) +
         static_cast<uint32_t>(p.devMode.size() + p.securityDescriptor.size());
}

}  // namespace

bool GetPrinterDriverDirectoryW(uint32_t bufferBytes, std::wstring& directory) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("GetPrinterDriverDirectoryW", std::to_wstring(bufferBytes))) return false;
  if (Unavailable()) return false;
  const std::wstring& folder = Sp().driverDirectory;
  if ((folder.size() + 1) * 2 > bufferBytes) return Fail(kErrorInsufficientBuffer);  // UTF-16 units and terminator
  directory = folder;
  return true;
}

bool AddMonitorW(const MonitorInfo2& info) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("AddMonitorW", info.name + L" " + info.dllName)) return false;
  if (Unavailable()) return false;
  if (Sp().monitors.count(Upper(info.name))) return Fail(kErrorPrintMonitorAlreadyInstalled);
  if (!sim::machine().fs.Exists(info.dllName)) return Fail(126);  // ERROR_MOD_NOT_FOUND
  if (sim::machine().fs.Contents(info.dllName).empty()) return Fail(193);  // ERROR_BAD_EXE_FORMAT: nothing to load
  Sp().monitors[Upper(info.name)] = info;
  return true;
}

bool DeleteMonitorW(const std::wstring& monitorName) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("DeleteMonitorW", monitorName)) return false;
  if (Unavailable()) return false;
  if (!Sp().monitors.count(Upper(monitorName))) return Fail(kErrorUnknownPrintMonitor);
  // Windows refuses while a port of the monitor is in use, and counts every
  // driver bound to a language monitor as a use of it.
  if (Sp().monitorsInUse.count(Upper(monitorName))) return Fail(kErrorPrintMonitorInUse);
  for (const auto& [key, driver] : Sp().drivers)
    if (driver.monitorName && Upper(*driver.monitorName) == Upper(monitorName)) return Fail(kErrorPrintMonitorInUse);
  Sp().monitors.erase(Upper(monitorName));
  return true;
}

bool AddPrinterDriverW(const DriverInfo6& info) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("AddPrinterDriverW", info.name)) return false;
  if (Unavailable()) return false;
  for (const std::wstring* file : {&info.driverPath, &info.dataFile, &info.configFile})
    if (!sim::machine().fs.Exists(*file)) return Fail(kErrorFileNotFound);
  if (info.monitorName && !Sp().monitors.count(Upper(*info.monitorName))) return Fail(kErrorUnknownPrintMonitor);
  Sp().drivers[Upper(info.name)] = info;
  return true;
}

bool DeletePrinterDriverW(const std::wstring& driverName) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("DeletePrinterDriverW", driverName)) return false;
  if (Unavailable()) return false;
  if (!Sp().drivers.count(Upper(driverName))) return Fail(kErrorUnknownPrinterDriver);
  for (const auto& [key, printer] : Sp().printers)
    if (printer.driverName && Upper(*printer.driverName) == Upper(driverName)) return Fail(kErrorPrinterDriverInUse);
  Sp().drivers.erase(Upper(driverName));
  return true;
}

Handle AddPrinterW(const PrinterInfo2& info) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("AddPrinterW", info.printerName.value_or(L""))) return nullptr;
  if (Unavailable()) return nullptr;
  if (!info.printerName || info.printerName->empty()) return Fail(kErrorInvalidPrinterName), nullptr;
  if (Sp().printers.count(Upper(*info.printerName))) return Fail(kErrorPrinterAlreadyExists), nullptr;
  if (!info.portName || !KnownPort(*info.portName)) return Fail(kErrorUnknownPort), nullptr;
  if (!info.driverName || !Sp().drivers.count(Upper(*info.driverName))) return Fail(kErrorUnknownPrinterDriver), nullptr;
  Sp().printers[Upper(*info.printerName)] = info;
  Handle h = sim::machine().NewHandle();
  Sp().open[sim::Id(h)] = Upper(*info.printerName);
  return h;
}

bool EnumPrintersW(std::vector<PrinterInfo2>* printers, uint32_t bufferBytes, uint32_t& neededBytes) {
  auto lock = sim::machine().Lock();
  neededBytes = 0;
  if (sim::Enter("EnumPrintersW", std::to_wstring(bufferBytes) + L" bytes")) return false;
  if (Unavailable()) return false;
  for (const auto& [key, p] : Sp().printers) neededBytes += InfoBytes(p);
  if (!printers || bufferBytes < neededBytes) return neededBytes == 0 || Fail(kErrorInsufficientBuffer);
  printers->clear();
  for (const auto& [key, p] : Sp().printers) printers->push_back(p);
  return true;
}

bool EnumPrinterDriversW(std::vector<DriverInfo3>& drivers) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("EnumPrinterDriversW")) return false;
  if (Unavailable()) return false;
  drivers.clear();
  for (const auto& [key, d] : Sp().drivers) drivers.push_back({d.name, d.dataFile, d.monitorName});
  return true;
}

// As Windows does, a printer with jobs only waits for them, marked pending
// deletion; FinishJobs removes it after the last.
bool DeletePrinter(Handle printer) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("DeletePrinter")) return false;
  if (Unavailable()) return false;
  const std::wstring* key = PrinterOf(printer);
  if (!key || !Sp().printers.count(*key)) return Fail(kErrorInvalidHandle);
  PrinterInfo2& stored = Sp().printers[*key];
  if (stored.jobs > 0) stored.status |= kPrinterStatusPendingDeletion;
  else Sp().printers.erase(*key);
  return true;
}

bool OpenPrinterW(const std::wstring& name, Handle& printer, const PrinterDefaults* defaults) {
  auto lock = sim::machine().Lock();
  printer = nullptr;
  if (sim::Enter("OpenPrinterW", name)) return false;
  if (Unavailable()) return false;
  if (defaults) Sp().openDefaults.push_back(*defaults);
  auto refusal = Sp().openRefusals.find(Upper(name));
  if (refusal != Sp().openRefusals.end()) return Fail(refusal->second);
  if (!Sp().printers.count(Upper(name))) return Fail(kErrorInvalidPrinterName);
  printer = sim::machine().NewHandle();
  Sp().open[sim::Id(printer)] = Upper(name);
  return true;
}

bool ClosePrinter(Handle printer) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("ClosePrinter")) return false;
  return Sp().open.erase(sim::Id(printer)) ? true : Fail(kErrorInvalidHandle);
}

bool GetPrinterW(Handle printer, PrinterInfo2* info, uint32_t bufferBytes, uint32_t& neededBytes) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("GetPrinterW")) return false;
  if (Unavailable()) return false;
  const std::wstring* key = PrinterOf(printer);
  if (!key || !Sp().printers.count(*key)) return Fail(kErrorInvalidHandle);
  const PrinterInfo2& stored = Sp().printers[*key];
  neededBytes = InfoBytes(stored);
  if (!info || bufferBytes < neededBytes) return Fail(kErrorInsufficientBuffer);
  *info = stored;
  return true;
}

bool SetPrinterW(Handle printer, const PrinterInfo2& info) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("SetPrinterW")) return false;
  if (Unavailable()) return false;
  const std::wstring* key = PrinterOf(printer);
  if (!key || !Sp().printers.count(*key)) return Fail(kErrorInvalidHandle);
  Sp().setPrinterCalls.push_back(info);
  PrinterInfo2& stored = Sp().printers[*key];
  stored.devMode = info.devMode;
  stored.attributes = info.attributes;
  if (!info.securityDescriptor.empty()) stored.securityDescriptor = info.securityDescriptor;
  return true;
}

int32_t DocumentPropertiesW(Handle printer, const std::wstring& deviceName, DevMode* out, const DevMode* in,
                            uint32_t mode) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("DocumentPropertiesW", std::to_wstring(mode))) return -1;
  if (Unavailable() || !PrinterOf(printer)) return -1;
  DevMode dm = sim::Spooler::DriverDevMode(deviceName, Sp().driverDevModeHasOrientation);
  if (mode == 0 || !out) return static_cast<int32_t>(dm.size());
  if (out->size() < dm.size()) return ++Sp().devModeOverruns, -1;
  // The driver keeps a valid orientation from the input.
  if ((mode & kDmInBuffer) && in && in->size() >= 78 && (DevModeFields(*in) & kDmOrientation) &&
      (DevModeFields(dm) & kDmOrientation))
    std::memcpy(&dm[76], &(*in)[76], 2);
  std::copy(dm.begin(), dm.end(), out->begin());
  return kIdOk;
}

bool EnumPortsW(uint8_t* buffer, uint32_t bufferBytes, uint32_t& neededBytes, uint32_t& returned) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("EnumPortsW", std::to_wstring(bufferBytes) + L" bytes")) return false;
  if (Unavailable()) return false;
  const std::vector<std::wstring>& ports = Sp().ports;
  size_t needed = ports.size() * sizeof(PortInfo1);
  for (const std::wstring& p : ports) needed += (p.size() + 1) * sizeof(wchar_t);
  neededBytes = static_cast<uint32_t>(needed);
  returned = 0;
  if (bufferBytes < needed || (needed && !buffer)) return Fail(kErrorInsufficientBuffer);
  auto* records = reinterpret_cast<PortInfo1*>(buffer);
  auto* text = reinterpret_cast<wchar_t*>(buffer + ports.size() * sizeof(PortInfo1));
  for (const std::wstring& p : ports) {
    records[returned++].name = text;
    text = std::copy(p.begin(), p.end(), text);
    *text++ = L'\0';
  }
  return true;
}

void CallSpoolerOrdinal204(const std::wstring& printerName) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("SpoolerOrdinal204", printerName) && sim::Gone()) return;
  Sp().ordinal204Calls.push_back(printerName);
}

}  // namespace plat
