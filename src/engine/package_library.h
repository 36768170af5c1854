// Whether a library of a package branch can be loaded by the spooler of the
// branch's Windows: the one rule both the installation and the package
// check apply.
#pragma once
#include <cstdint>
#include <string>

enum class LibraryFault {
  None,
  NotAnImage,      // unreadable, or not a PE image
  WrongMachine,    // built for another processor than the branch's
  NoEntryPoint,    // the language monitor without InitializePrintMonitor2
};

// The fault of the library `folder` + `name` in a branch for `machine`
// (kPeMachineI386 or kPeMachineAmd64); None for a file that is no ".dll".
LibraryFault CheckPackageLibrary(const std::wstring& folder, const std::wstring& name, uint16_t machine);
