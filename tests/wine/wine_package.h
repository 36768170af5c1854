// A stand-in driver package in the prefix's temp folder, shaped like the one
// that ships (24Pin\i386 and 24Pin\X64, each with 24Pin.inf), for the
// Windows-side catalog and device tests.
#pragma once
#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace wine_package {

inline bool PrefixIs64Bit() {
  const char* arch = std::getenv("QX_WINE_ARCH");
  return arch && std::string(arch) == "win64";
}

// The architecture folder of the 24-pin family for this prefix.
inline std::wstring ArchFolder() { return PrefixIs64Bit() ? L"24Pin\\X64\\" : L"24Pin\\i386\\"; }

const char kInf[] =
    "; Quillex 24-pin printers\r\n"
    "[Version]\r\n"
    "Signature=\"$Windows NT$\"\r\n"
    "Class=Printer\r\n"
    "ClassGUID={4D36E979-E325-11CE-BFC1-08002BE10318}\r\n"
    "Provider=%Quillex%\r\n"
    "\r\n"
    "[Manufacturer]\r\n"
    "%Quillex%=Quillex_Tech,NTamd64\r\n"
    "\r\n"
    "[Quillex_Tech]\r\n"
    "\"Quillex QX-630K\" = QX630K.x86, USBPRINT\\QuillexQX-630K7B2E\r\n"
    "\"Quillex QX-630K (USB)\" = QX630K.x86, USB\\VID_D23C&PID_0001\r\n"
    "\r\n"
    "[Quillex_Tech.NTamd64]\r\n"
    "\"Quillex QX-630K\" = QX630K.amd64, USBPRINT\\QuillexQX-630K7B2E\r\n"
    "\"Quillex QX-730K\" = QX730K.amd64, USBPRINT\\QuillexQX-730KA1C4\r\n"
    "\r\n"
    "[Strings]\r\n"
    "Quillex=\"Quillex\"\r\n";

inline void WriteFile(const std::wstring& path, const std::string& bytes) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream out(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
  out << bytes;
}

// Writes the stand-in package and returns its root folder, ending in "\".
inline std::wstring Create() {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  std::wstring root = std::wstring(temp) + L"QxPackage\\";
  WriteFile(root + L"24Pin\\i386\\24Pin.inf", kInf);
  WriteFile(root + L"24Pin\\X64\\24Pin.inf", kInf);
  return root;
}

// The package of the source tree (package\ beside src\) as the prefix sees
// the Linux file system, on drive Z:.
inline std::wstring SourcePackageRoot() {
  std::string source = QX_SOURCE_DIR;
  std::wstring root = L"Z:";
  for (char c : source) root.push_back(c == '/' ? L'\\' : static_cast<wchar_t>(c));
  return root + L"\\package\\";
}

}  // namespace wine_package
