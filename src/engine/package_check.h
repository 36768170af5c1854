// The package check: a driver package tree (the install program's folder, or
// another) read as the installation would read it, before it ships or is
// deployed. It only reads files: no lock, no spooler, no test of elevation.
#pragma once
#include <string>
#include <vector>

// One thing wrong with the package.
struct PackageFinding {
  std::wstring what;   // in the installer's language
  std::wstring where;  // the file or folder concerned
};

// Checks the package under `root` (with or without a trailing "\"): each
// branch ("24Pin", "9Pin"; "i386", "X64") holds its family's copy list, its
// libraries are built for its processor (the rule of the installation), the
// monitor exports its entry point and the printer interface its property
// sheets; every model PrinterInfo.ini lists has its data file in each
// 24-pin branch (the family the installer installs) and a line of the INF's
// models section of that branch's architecture; PrinterInfo.ini and the
// readme are GBK text; the fonts folder holds a font. Every finding is
// reported, in that order; an unreadable file is one too.
std::vector<PackageFinding> CheckDriverPackage(const std::wstring& root);

// The line the install program prints for a finding.
std::wstring FindingLine(const PackageFinding& finding);
// The last line: the package passed, or how many findings it has.
std::wstring CheckSummaryLine(const std::wstring& root, size_t findingCount);
