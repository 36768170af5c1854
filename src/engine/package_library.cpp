#include "engine/package_library.h"

#include "base/ascii_case.h"
#include "engine/driver_registration.h"
#include "engine/pe_image.h"

LibraryFault CheckPackageLibrary(const std::wstring& folder, const std::wstring& name, uint16_t machine) {
  const std::wstring lower = LowerAscii(name);
  if (!lower.ends_with(L".dll")) return LibraryFault::None;
  PeImage image;
  if (!ReadPeImage(folder + name, image)) return LibraryFault::NotAnImage;
  if (!(machine == kPeMachineAmd64 ? IsX64Image(image) : IsX86Image(image))) return LibraryFault::WrongMachine;
  // Replacing the installed monitor with one the spooler cannot start would
  // stop every printer bound to it.
  if (lower == LowerAscii(kLanguageMonitorDll) && !ExportsName(image, kMonitorEntryPoint))
    return LibraryFault::NoEntryPoint;
  return LibraryFault::None;
}
