#include "engine/printer_queue.h"

#include "engine/driver_registration.h"
#include "engine/package_staging.h"
#include "platform/error.h"
#include "platform/spooler.h"
#include "platform/window.h"
#include "report/error_codes.h"
#include "report/error_report.h"
#include "report/install_log.h"
#include "report/install_steps.h"

namespace {

constexpr uint32_t kBroadcastTimeoutMs = 1000;

constexpr wchar_t kCopyOpen[] = L" (副本 ";
constexpr wchar_t kCopyClose[] = L")";

std::wstring CopyName(const std::wstring& base, int n) { return base + kCopyOpen + std::to_wstring(n) + kCopyClose; }

// The base of a copy name, as CopyName writes it (n from 1, no leading zero);
// the name itself when it has no copy suffix.
std::wstring WithoutCopySuffix(const std::wstring& name) {
  const size_t open = name.rfind(kCopyOpen);
  const std::wstring close = kCopyClose;
  if (open == std::wstring::npos || !name.ends_with(close)) return name;
  const size_t first = open + std::wstring(kCopyOpen).size(), end = name.size() - close.size();
  if (first >= end || name[first] == L'0') return name;
  for (size_t i = first; i < end; ++i)
    if (name[i] < L'0' || name[i] > L'9') return name;
  return name.substr(0, open);
}

plat::PrinterInfo2 LocalQueue(const std::wstring& printerName, const std::wstring& portName) {
  plat::PrinterInfo2 p;
  p.printerName = printerName;
  p.portName = portName;
  p.driverName = printerName;
  p.printProcessor = L"winprint";
  p.datatype = L"RAW";
  p.attributes = plat::kPrinterAttributeLocal;
  return p;
}

// The printer's level-2 information, asked for its size first.
bool ReadPrinterInfo(plat::Handle printer, plat::PrinterInfo2& info) {
  plat::SetLastError(0);
  uint32_t needed = 0;
  bool sized = plat::GetPrinterW(printer, nullptr, 0, needed) ||
               plat::GetLastError() == plat::kErrorInsufficientBuffer;
  return sized && needed != 0 && plat::GetPrinterW(printer, &info, needed, needed);
}

// The driver's default devmode for the printer.
bool ReadDriverDevMode(plat::Handle printer, const std::wstring& name, plat::DevMode& devMode) {
  int32_t size = plat::DocumentPropertiesW(printer, name, nullptr, nullptr, 0);
  if (size <= 0) return false;
  devMode.assign(static_cast<size_t>(size), 0);
  return plat::DocumentPropertiesW(printer, name, &devMode, nullptr, plat::kDmOutBuffer) == plat::kIdOk;
}

// The driver writes its own full devmode into the output buffer of a
// pass-through, and a devmode stored by an older driver may be shorter:
// the buffer grows to the driver's size, zero-filled behind the stored one
// (whose own size fields still tell the driver what it holds).
bool FitDriverDevMode(plat::Handle printer, const std::wstring& name, plat::DevMode& devMode) {
  int32_t size = plat::DocumentPropertiesW(printer, name, nullptr, nullptr, 0);
  if (size <= 0) return false;
  if (devMode.size() < static_cast<size_t>(size)) devMode.resize(static_cast<size_t>(size), 0);
  return true;
}

}  // namespace

std::wstring ChoosePrinterName(const std::wstring& base) {
  std::wstring candidate = base;
  for (int n = 1; n <= kMaxPrinterCopies + 1; ++n) {
    plat::Handle raw = nullptr;
    if (!plat::OpenPrinterW(candidate, raw, nullptr)) return candidate;
    plat::PrinterHandle taken(raw);
    candidate = CopyName(base, n);
  }
  return {};  // a spooler that opens every name would keep this loop going for ever
}

void ApplyPrinterDefaults(const std::wstring& printerName) {
  const plat::PrinterDefaults allAccess{std::nullopt, {}, plat::kPrinterAllAccess};
  plat::Handle raw = nullptr;
  if (!plat::OpenPrinterW(printerName, raw, &allAccess) || !raw) return;
  plat::PrinterHandle printer(raw);

  plat::PrinterInfo2 info;
  if (!ReadPrinterInfo(printer.get(), info)) return;
  const bool stored = !info.devMode.empty();
  if (!stored && !ReadDriverDevMode(printer.get(), printerName, info.devMode)) return;
  if (!(plat::DevModeFields(info.devMode) & plat::kDmOrientation)) return;
  if (stored && !FitDriverDevMode(printer.get(), printerName, info.devMode)) return;

  info.attributes &= ~plat::kPrinterAttributeEnableBidi;
  info.securityDescriptor.clear();  // the printer's security stays as it is
  if (plat::DocumentPropertiesW(printer.get(), printerName, &info.devMode, &info.devMode,
                                plat::kDmInBuffer | plat::kDmOutBuffer) != plat::kIdOk)
    return;
  if (plat::SetPrinterW(printer.get(), info))
    plat::SendMessageTimeoutW(plat::kHwndBroadcast, plat::kWmDevModeChange, 0, printerName, plat::kSmtoNormal,
                              kBroadcastTimeoutMs);
}

std::wstring BrandedModelName(const std::wstring& model) {
  return model.find(kBrandPrefix) != std::wstring::npos ? model : kBrandPrefix + model;
}

// Only a prefix at the start is the brand: a name that merely holds
// "Quillex " further on would garble the model and its data file.
std::wstring ModelFromListLine(const std::wstring& line) {
  return line.rfind(kBrandPrefix, 0) == 0 ? line.substr(std::wstring(kBrandPrefix).size()) : line;
}

std::wstring ModelOfPrinterName(const std::wstring& name) {
  const std::wstring base = WithoutCopySuffix(name);
  return base.rfind(kBrandPrefix, 0) == 0 ? base.substr(std::wstring(kBrandPrefix).size()) : L"";
}

bool CreatePrinterQueue(const std::wstring& modelName, const std::wstring& portName, const std::wstring& dataFile,
                        PinFamily pinFamily) {
  const std::wstring printerName = ChoosePrinterName(BrandedModelName(modelName));
  if (printerName.empty()) {
    ShowErrorCode(kCodePrinter);
    return false;
  }
  ReportStep(InstallStep::PrinterName, printerName);

  // Without the package staged (an INF syntax error included) no driver can be
  // registered, so there is no queue to report.
  if (!StageDriverPackage(pinFamily, dataFile)) return false;
  if (!RegisterDriver(printerName, pinFamily, dataFile)) return false;

  ReportStep(InstallStep::Queue, portName);
  plat::PrinterHandle queue(plat::AddPrinterW(LocalQueue(printerName, portName)));
  if (!queue) {
    WriteInstallLog(L"AddPrinterW " + printerName, true);
    // The driver was registered for this printer alone: no driver stays behind without it.
    if (!plat::DeletePrinterDriverW(printerName)) WriteInstallLog(L"DeletePrinterDriverW " + printerName, true);
    ShowErrorCode(kCodePrinter);
    return false;
  }
  queue.reset();
  ApplyPrinterDefaults(printerName);
  plat::CallSpoolerOrdinal204(printerName);
  return true;
}

bool RefreshPrinterQueue(const std::wstring& printerName, const std::wstring& driverName, const std::wstring& dataFile,
                         PinFamily pinFamily) {
  ReportStep(InstallStep::PrinterName, printerName);
  if (!StageDriverPackage(pinFamily, dataFile)) return false;
  if (!RegisterDriver(driverName, pinFamily, dataFile, true)) return false;
  ReportStep(InstallStep::QueueKept, printerName);
  return true;
}
