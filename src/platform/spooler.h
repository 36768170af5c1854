// The print spooler (winspool) of the local machine.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/handle.h"

namespace plat {

constexpr uint32_t kErrorUnknownPort = 1796;
constexpr uint32_t kErrorPrinterAlreadyExists = 1802;
constexpr uint32_t kErrorInvalidPrinterName = 1801;
constexpr uint32_t kErrorUnknownPrinterDriver = 1797;
constexpr uint32_t kErrorUnknownPrintMonitor = 3000;
constexpr uint32_t kErrorPrintMonitorInUse = 3008;
constexpr uint32_t kErrorPrinterDriverInUse = 3001;
constexpr uint32_t kRpcServerUnavailable = 1722;

constexpr uint32_t kErrorPrinterDriverAlreadyInstalled = 1795;

// PRINTER_STATUS_PENDING_DELETION: deleted while jobs wait, gone after the last.
constexpr uint32_t kPrinterStatusPendingDeletion = 0x4;

constexpr uint32_t kPrinterAttributeLocal = 0x40;
constexpr uint32_t kPrinterAttributeEnableBidi = 0x800;
constexpr uint32_t kPrinterAllAccess = 0xF000C;

// DocumentPropertiesW modes and answer, and the devmode field bit it is about.
constexpr uint32_t kDmOutBuffer = 2;
constexpr uint32_t kDmInBuffer = 8;
constexpr int32_t kIdOk = 1;
constexpr uint32_t kDmOrientation = 0x1;

// A DEVMODEW as the spooler hands it out: its bytes (dmSize + dmDriverExtra);
// empty stands for no devmode.
using DevMode = std::vector<uint8_t>;
// The devmode's dmFields (after dmDeviceName[32] and four WORDs), 0 when the
// bytes are too short to hold them.
inline uint32_t DevModeFields(const DevMode& devMode) {
  constexpr size_t kFieldsOffset = 72;
  if (devMode.size() < kFieldsOffset + 4) return 0;
  return static_cast<uint32_t>(devMode[kFieldsOffset]) | static_cast<uint32_t>(devMode[kFieldsOffset + 1]) << 8 |
         static_cast<uint32_t>(devMode[kFieldsOffset + 2]) << 16 | static_cast<uint32_t>(devMode[kFieldsOffset + 3]) << 24;
}

// Nullable texts are optional: nullopt is the null pointer the API receives.
using OptText = std::optional<std::wstring>;

struct MonitorInfo2 {
  std::wstring name;
  OptText environment;
  std::wstring dllName;
};

struct DriverInfo6 {
  uint32_t version = 0;
  std::wstring name;
  OptText environment;
  std::wstring driverPath, dataFile, configFile, helpFile;
  std::vector<wchar_t> dependentFiles;  // zero-terminated names, closed by an extra zero
  OptText monitorName, defaultDataType;
  OptText previousNames;
  uint64_t driverDate = 0;     // FILETIME
  uint64_t driverVersion = 0;  // DWORDLONG
  OptText mfgName, oemUrl, hardwareId, provider;
};

// What DRIVER_INFO_3W tells of an installed driver that the installer reads.
struct DriverInfo3 {
  std::wstring name;
  std::wstring dataFile;  // full path
  OptText monitorName;
};

struct PrinterInfo2 {
  OptText serverName, printerName, shareName, portName, driverName, comment, location;
  DevMode devMode;
  OptText sepFile, printProcessor, datatype, parameters;
  std::vector<uint8_t> securityDescriptor;  // empty: none
  uint32_t attributes = 0, priority = 0, defaultPriority = 0, startTime = 0, untilTime = 0;
  uint32_t status = 0, jobs = 0, averagePpm = 0;
};

struct PrinterDefaults {
  OptText datatype;
  DevMode devMode;
  uint32_t desiredAccess = 0;
};

// GetPrinterDriverDirectoryW for the local server and the caller's own
// environment, level 1, into a buffer of `bufferBytes` bytes.
// Fails with kErrorInsufficientBuffer when the path does not fit.
bool GetPrinterDriverDirectoryW(uint32_t bufferBytes, std::wstring& directory);

// Local server, level 2.
bool AddMonitorW(const MonitorInfo2& info);
// Local server, current environment.
bool DeleteMonitorW(const std::wstring& monitorName);
// Local server, level 6.
bool AddPrinterDriverW(const DriverInfo6& info);
// Local server, current environment; the driver's files stay.
bool DeletePrinterDriverW(const std::wstring& driverName);
// Local server, level 2; a null handle on failure.
Handle AddPrinterW(const PrinterInfo2& info);
// Local printers (PRINTER_ENUM_LOCAL), level 2, into a buffer of `bufferBytes`
// bytes (`printers` null with 0 to learn the size). Fails with
// kErrorInsufficientBuffer and the size in `neededBytes` when they do not fit.
bool EnumPrintersW(std::vector<PrinterInfo2>* printers, uint32_t bufferBytes, uint32_t& neededBytes);
// The local server's drivers of the current environment, level 3, every
// one; the buffer is sized and asked again as the spooler answers.
bool EnumPrinterDriversW(std::vector<DriverInfo3>& drivers);
// The printer of a handle opened with delete access (kPrinterAllAccess); a
// printer with jobs is only marked pending deletion and goes after the last.
bool DeletePrinter(Handle printer);
// `defaults` null: no defaults.
bool OpenPrinterW(const std::wstring& name, Handle& printer, const PrinterDefaults* defaults);
bool ClosePrinter(Handle printer);
// Level 2. `info` null (with size 0) asks for the size needed, the way the API does.
bool GetPrinterW(Handle printer, PrinterInfo2* info, uint32_t bufferBytes, uint32_t& neededBytes);
// Level 2, command 0.
bool SetPrinterW(Handle printer, const PrinterInfo2& info);
// No window. `out` null with mode 0 asks for the devmode size; otherwise `out`
// holds at least that many bytes.
int32_t DocumentPropertiesW(Handle printer, const std::wstring& deviceName, DevMode* out, const DevMode* in,
                            uint32_t mode);
// One PORT_INFO_1W record: the port's name, pointing into the same buffer.
struct PortInfo1 {
  wchar_t* name;
};

// EnumPortsW for the local server at level 1 into `buffer` of `bufferBytes`
// bytes (null with 0 to learn the size): `returned` PortInfo1 records at its
// start, their names behind them. Fails with kErrorInsufficientBuffer and the
// size in `neededBytes` when they do not fit.
bool EnumPortsW(uint8_t* buffer, uint32_t bufferBytes, uint32_t& neededBytes, uint32_t& returned);

// The spooler client library's export 204 (exported by ordinal only), called
// with a printer name; its result is not examined.
void CallSpoolerOrdinal204(const std::wstring& printerName);

struct ClosePrinterHandle {
  void operator()(Handle h) const { ClosePrinter(h); }
};
using PrinterHandle = UniqueHandle<ClosePrinterHandle>;

}  // namespace plat
