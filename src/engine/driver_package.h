// The driver package beside the executable: one branch per family and
// architecture ("\24Pin\i386\", "\24Pin\X64\", "\9Pin\i386\", "\9Pin\X64\"),
// and what one job takes from it.
#pragma once
#include <string>

#include "catalog/pin_family.h"

// File lists are runs of names, each closed by ";".
struct DriverPackage {
  PinFamily pinFamily = Pin24;
  std::wstring packageRoot;          // the executable's folder, without a trailing "\"
  std::wstring spoolerDriverFolder;  // as the spooler reports it
  bool is64Bit = false;              // IsNative64Bit
  std::wstring sourceFolder;         // packageRoot + "\24Pin" or "\9Pin" + "\X64\" or "\i386\"
  std::wstring destinationFolder;    // spoolerDriverFolder + "\"
  std::wstring infFolder;            // the branch holding the INF: sourceFolder
  std::wstring infPath;              // infFolder + "24Pin.inf" or "9Pin.inf"
  std::wstring copyList;             // what is copied at all
  std::wstring protectedList;        // what is refreshed even when the destination has it
  std::wstring dependentFiles;       // the registered driver's dependent files
};

// The family's own lists, with their letter case; empty for a value outside
// the three families.
std::wstring FamilyCopyList(PinFamily family);
std::wstring FamilyProtectedList(PinFamily family);
std::wstring FamilyDependentFiles(PinFamily family);

// The family's copy and protected lists followed by `dataFile` + ";".
std::wstring PackageCopyList(PinFamily family, const std::wstring& dataFile);
std::wstring PackageProtectedList(PinFamily family, const std::wstring& dataFile);

// The branch of `family` for this Windows below the package root:
// "24Pin\" or "9Pin\", then "X64\" or "i386\".
std::wstring PackageBranchBelowRoot(PinFamily family);
// The package root + that branch.
std::wstring PackageBranchFolder(PinFamily family);

// The package of one job. False, with nothing reported, when the spooler has
// no driver directory to tell.
bool ResolveDriverPackage(PinFamily family, const std::wstring& dataFile, DriverPackage& package);
