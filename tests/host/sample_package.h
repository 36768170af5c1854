// The 24-pin branch of the driver package beside the simulated executable
// (64-bit Windows: C:\Setup\24Pin\X64\, or the 32-bit one), with an INF
// that lists the QX-630K for both.
#pragma once
#include <string>

#include "platform/sim/machine.h"

inline const std::wstring kSampleBranch = L"C:\\Setup\\24Pin\\X64\\";
inline const std::wstring kSampleInf = kSampleBranch + L"24Pin.inf";
inline const std::wstring kSampleBranch32 = L"C:\\Setup\\24Pin\\i386\\";
inline const plat::Guid kPrinterClassGuid{0x4D36E979, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};

inline void AddSamplePackage(sim::Machine& m, const std::wstring& branch = kSampleBranch) {
  for (const wchar_t* name : {L"QX24RES.DLL", L"STDNAMES.GPD", L"unidrv.hlp", L"unidrvui.dll", L"UNIDRV.DLL",
                              L"unires.dll", L"STDDTYPE.GDL", L"STDSCHEM.GDL", L"STDSCHMX.GDL", L"QxSet.ini",
                              L"QxSetUI.dll", L"QxSetUni.dll", L"QXLMON.dll", L"QX-630K.GPD"})
    m.fs.AddFile(branch + name, "content of " + std::string(name, name + 3));
  const std::string models =
      "\"Quillex QX-630K\" = QX-630K.GPD, USBPRINT\\QuillexQX-630K7B2E\r\n"
      "\"Quillex QX-630K\" = QX-630K.GPD, USB\\VID_D23C&PID_0001\r\n\r\n";
  m.fs.AddFile(branch + L"24Pin.inf",
               "[Version]\r\nSignature=\"$Windows NT$\"\r\nClass=Printer\r\n"
               "ClassGUID={4D36E979-E325-11CE-BFC1-08002BE10318}\r\n\r\n"
               "[Manufacturer]\r\n%Quillex%=Quillex_Tech,NTamd64\r\n\r\n"
               "[Quillex_Tech]\r\n" + models + "[Quillex_Tech.NTamd64]\r\n" + models +
               "[Strings]\r\nQuillex=\"Quillex\"\r\n");
  m.devices.SetInfClass(branch + L"24Pin.inf", L"Printer", kPrinterClassGuid);
}

// The headers of a Windows image, as far as the installer reads them: the DOS
// stub's pointer, the signature, the file header and an optional header of the
// 32- or 64-bit form without data directories or sections.
inline std::string PeHeaders(uint16_t machine, bool pe32Plus, bool dll) {
  std::string bytes(0x40, '\0');
  bytes[0] = 'M', bytes[1] = 'Z', bytes[0x3C] = 0x40;
  auto put16 = [&bytes](uint16_t v) { bytes += static_cast<char>(v & 0xFF), bytes += static_cast<char>(v >> 8); };
  bytes += std::string("PE\0\0", 4);
  const uint16_t optionalSize = pe32Plus ? 0xF0 : 0xE0;
  put16(machine), put16(0), bytes.append(12, '\0'), put16(optionalSize), put16(dll ? 0x2002 : 0x0002);
  put16(pe32Plus ? 0x20B : 0x10B);
  bytes.append(optionalSize - 2, '\0');
  return bytes;
}
