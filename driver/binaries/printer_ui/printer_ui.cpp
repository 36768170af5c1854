// The printer interface DLL of the sample package (installed as unidrvui.dll):
// answers the spooler's document-property and device-capability queries with
// the defaults of a dot-matrix printer, so queues built on the sample driver
// get a devmode that the driver has validated. It shows no property sheets.
#include <windows.h>

#include <cstddef>
#include <cwchar>

namespace {

// The header the spooler passes with a document-property query.
struct DocumentPropertyHeader {
  WORD cbSize;
  WORD Reserved;
  HANDLE hPrinter;
  LPWSTR pszPrinterName;
  PDEVMODEW pdmIn;
  PDEVMODEW pdmOut;
  DWORD cbOut;
  DWORD fMode;
};

constexpr DWORD kSupportedFields = DM_ORIENTATION | DM_PAPERSIZE | DM_COPIES | DM_PRINTQUALITY | DM_YRESOLUTION;
constexpr short kDefaultDpi = 180;
constexpr WORD kPapers[] = {DMPAPER_A4, DMPAPER_LETTER, DMPAPER_FANFOLD_US};
constexpr short kMaxCopies = 99;

void FillDefaults(DEVMODEW& dm, LPCWSTR printerName) {
  ZeroMemory(&dm, sizeof dm);
  if (printerName) wcsncpy(dm.dmDeviceName, printerName, CCHDEVICENAME - 1);
  dm.dmSpecVersion = DM_SPECVERSION;
  dm.dmDriverVersion = 0x0100;
  dm.dmSize = sizeof dm;
  dm.dmFields = kSupportedFields;
  dm.dmOrientation = DMORIENT_PORTRAIT;
  dm.dmPaperSize = DMPAPER_A4;
  dm.dmCopies = 1;
  dm.dmPrintQuality = kDefaultDpi;
  dm.dmYResolution = kDefaultDpi;
}

bool IsSupportedPaper(short paper) {
  for (WORD p : kPapers)
    if (p == static_cast<WORD>(paper)) return true;
  return false;
}

// Takes over the settings of `in` that this printer supports and that are valid.
void MergeValid(DEVMODEW& dm, const DEVMODEW& in) {
  if ((in.dmFields & DM_ORIENTATION) && (in.dmOrientation == DMORIENT_PORTRAIT || in.dmOrientation == DMORIENT_LANDSCAPE))
    dm.dmOrientation = in.dmOrientation;
  if ((in.dmFields & DM_PAPERSIZE) && IsSupportedPaper(in.dmPaperSize)) dm.dmPaperSize = in.dmPaperSize;
  if ((in.dmFields & DM_COPIES) && in.dmCopies >= 1 && in.dmCopies <= kMaxCopies) dm.dmCopies = in.dmCopies;
}

template <typename T>
DWORD CopyList(const T* items, DWORD count, void* output) {
  if (output) CopyMemory(output, items, count * sizeof(T));
  return count;
}

}  // namespace

extern "C" __declspec(dllexport) LONG WINAPI DrvDocumentPropertySheets(void* pPSUIInfo, LPARAM lParam) {
  auto* header = reinterpret_cast<DocumentPropertyHeader*>(lParam);
  if (pPSUIInfo || !header) return -1;  // no property sheets
  if (header->fMode == 0 || !header->pdmOut) {
    header->cbOut = sizeof(DEVMODEW);
    return header->cbOut;
  }
  DEVMODEW dm;
  FillDefaults(dm, header->pszPrinterName);
  if ((header->fMode & DM_IN_BUFFER) && header->pdmIn && header->pdmIn->dmSize >= offsetof(DEVMODEW, dmFormName))
    MergeValid(dm, *header->pdmIn);
  CopyMemory(header->pdmOut, &dm, sizeof dm);
  return IDOK;
}

extern "C" __declspec(dllexport) DWORD WINAPI DrvDeviceCapabilities(HANDLE, LPWSTR, WORD capability, void* output,
                                                                    PDEVMODEW) {
  static const POINT kPaperSizes[] = {{2100, 2970}, {2159, 2794}, {3778, 2794}};  // tenths of a millimetre
  static const LONG kResolutions[] = {kDefaultDpi, kDefaultDpi, 360, 180, 360, 360};
  switch (capability) {
    case DC_FIELDS: return kSupportedFields;
    case DC_PAPERS: return CopyList(kPapers, ARRAYSIZE(kPapers), output);
    case DC_PAPERSIZE: return CopyList(kPaperSizes, ARRAYSIZE(kPaperSizes), output);
    case DC_ENUMRESOLUTIONS: return CopyList(kResolutions, ARRAYSIZE(kResolutions), output) / 2;
    case DC_COPIES: return kMaxCopies;
    case DC_ORIENTATION: return 270;
    case DC_DRIVER: return 0x0100;
    case DC_VERSION: return DM_SPECVERSION;
    case DC_SIZE: return sizeof(DEVMODEW);
    case DC_EXTRA: return 0;
    default: return static_cast<DWORD>(GDI_ERROR);
  }
}

extern "C" __declspec(dllexport) BOOL WINAPI DrvPrinterEvent(LPWSTR, INT, DWORD, LPARAM) { return TRUE; }

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(instance);
  return TRUE;
}
