// The 24-pin branch of the driver package beside the simulated executable
// (64-bit Windows: C:\Setup\24Pin\X64\, or the 32-bit one), with an INF
// that lists the QX-630K for both.
#pragma once
#include <algorithm>
#include <cwctype>
#include <string>
#include <vector>

#include "platform/sim/machine.h"

inline const std::wstring kSampleBranch = L"C:\\Setup\\24Pin\\X64\\";
inline const std::wstring kSampleInf = kSampleBranch + L"24Pin.inf";
inline const std::wstring kSampleBranch32 = L"C:\\Setup\\24Pin\\i386\\";
// Where an elevated installer copies the package before it reads it.
inline const std::wstring kPayloadParent = L"C:\\windows\\Temp\\";
inline const plat::Guid kPrinterClassGuid{0x4D36E979, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};

// A Windows image as far as the installer reads it: the DOS stub's pointer,
// the signature, the file header, an optional header of the 32- or 64-bit
// form and, with `exports`, one section holding the export directory. With
// `sharedNames`, the name table holds that many entries all pointing at the
// first export's one copy of its text.
inline std::string PeHeaders(uint16_t machine, bool pe32Plus, bool dll, const std::vector<std::string>& exports = {},
                             uint32_t sharedNames = 0) {
  std::string b(0x40, '\0');
  b[0] = 'M', b[1] = 'Z', b[0x3C] = 0x40;
  auto put16 = [&b](uint16_t v) { b += static_cast<char>(v & 0xFF), b += static_cast<char>(v >> 8); };
  auto put32 = [&](uint32_t v) { put16(static_cast<uint16_t>(v & 0xFFFF)), put16(static_cast<uint16_t>(v >> 16)); };
  const bool section = !exports.empty();
  const uint16_t optionalSize = pe32Plus ? 0xF0 : 0xE0;
  b += std::string("PE\0\0", 4);
  put16(machine), put16(section ? 1 : 0), b.append(12, '\0'), put16(optionalSize), put16(dll ? 0x2002 : 0x0002);
  const size_t optional = b.size();
  put16(pe32Plus ? 0x20B : 0x10B);
  b.append(optionalSize - 2, '\0');
  if (!section) return b;
  constexpr uint32_t kVa = 0x1000, kRaw = 0x200;
  const uint32_t entries = sharedNames ? sharedNames : static_cast<uint32_t>(exports.size());
  const uint32_t strings = kVa + 40 + 4 * entries;
  std::string names;
  std::vector<uint32_t> nameRvas;
  for (const std::string& e : exports) {
    nameRvas.push_back(strings + static_cast<uint32_t>(names.size()));
    names += e + '\0';
  }
  if (sharedNames) nameRvas.assign(sharedNames, strings);
  const uint32_t sectionSize = std::max<uint32_t>(0x1000, strings - kVa + static_cast<uint32_t>(names.size()));
  const size_t count = optional + (pe32Plus ? 108 : 92), directories = optional + (pe32Plus ? 112 : 96);
  b[count] = 16;
  b[directories] = 0x00, b[directories + 1] = 0x10;  // the export directory at kVa
  put32(0), put32(0), put32(sectionSize), put32(kVa), put32(sectionSize), put32(kRaw), put32(0), put32(0), put32(0), put32(0);
  b.resize(kRaw, '\0');
  b.append(24, '\0');
  put32(entries), put32(0), put32(kVa + 40), put32(0);
  for (uint32_t rva : nameRvas) put32(rva);
  return b + names;
}

// A file of the sample branch: libraries are images of the branch's machine
// (the monitor and the printer interface exporting their entry points), the
// others short texts.
inline std::string SampleFile(const std::wstring& branch, const std::wstring& name) {
  std::wstring lower;
  for (wchar_t c : name) lower += static_cast<wchar_t>(std::towlower(c));
  if (!lower.ends_with(L".dll")) return "content of " + std::string(name.begin(), name.begin() + 3);
  const bool x64 = branch.find(L"\\X64\\") != std::wstring::npos;
  const std::vector<std::string> exports = lower == L"qxlmon.dll"     ? std::vector<std::string>{"InitializePrintMonitor2"}
                                           : lower == L"unidrvui.dll" ? std::vector<std::string>{"DrvDocumentPropertySheets"}
                                                                      : std::vector<std::string>{"DllMain"};
  return PeHeaders(x64 ? 0x8664 : 0x14C, x64, true, exports);
}

inline void AddSamplePackage(sim::Machine& m, const std::wstring& branch = kSampleBranch) {
  for (const wchar_t* name : {L"QX24RES.DLL", L"STDNAMES.GPD", L"unidrv.hlp", L"unidrvui.dll", L"UNIDRV.DLL",
                              L"unires.dll", L"STDDTYPE.GDL", L"STDSCHEM.GDL", L"STDSCHMX.GDL", L"QxSet.ini",
                              L"QxSetUI.dll", L"QxSetUni.dll", L"QXLMON.dll", L"QX-630K.GPD"})
    m.fs.AddFile(branch + name, SampleFile(branch, name));
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

// "82列票据打印机" in GBK.
inline const std::string kGbkModelSection = "[82\xC1\xD0\xC6\xB1\xBE\xDD\xB4\xF2\xD3\xA1\xBB\xFA]";

// An INF of the shipped shape listing `models` in both models sections.
inline std::string SampleInf(const std::vector<std::string>& models) {
  std::string lines;
  for (const std::string& model : models)
    lines += "\"Quillex " + model + "\" = " + model + ".GPD, USBPRINT\\Quillex" + model + "7B2E\r\n";
  return "[Version]\r\nSignature=\"$Windows NT$\"\r\nClass=Printer\r\n\r\n"
         "[Manufacturer]\r\n%Quillex%=Quillex_Tech,NTamd64\r\n\r\n"
         "[Quillex_Tech]\r\n" + lines + "\r\n[Quillex_Tech.NTamd64]\r\n" + lines +
         "\r\n[Strings]\r\nQuillex=\"Quillex\"\r\n";
}

// The whole package under `root` as it ships: both families on both
// architectures with their full copy lists and the GPDs of their models,
// PrinterInfo.ini listing the 24-pin QX-630K and QX-730K, the readme and a font.
inline void AddShippedPackage(sim::Machine& m, const std::wstring& root = L"C:\\Setup\\") {
  const struct {
    const wchar_t* folder;
    const wchar_t* inf;
    std::vector<std::wstring> files;
    std::vector<std::string> models;
  } families[] = {
      {L"24Pin\\", L"24Pin.inf",
       {L"QX24RES.DLL", L"STDNAMES.GPD", L"unidrv.hlp", L"unidrvui.dll", L"unidrv.dll", L"unires.dll", L"STDDTYPE.GDL",
        L"STDSCHEM.GDL", L"STDSCHMX.GDL", L"QxSet.ini", L"QxSetUI.dll", L"QxSetUni.dll", L"QXLMON.dll"},
       {"QX-630K", "QX-730K"}},
      {L"9Pin\\", L"9Pin.inf",
       {L"UNIDRV.DLL", L"UNIDRVUI.DLL", L"UNIDRV.HLP", L"UNIRES.DLL", L"STDNAMES.GPD", L"STDDTYPE.GDL", L"STDSCHEM.GDL",
        L"STDSCHMX.GDL", L"QXMPUI.dll", L"QXMPUNI.dll", L"QXMPdll.ini", L"QX9res.dll"},
       {"QX-300", "QX-350"}},
  };
  for (const auto& family : families)
    for (const wchar_t* arch : {L"i386\\", L"X64\\"}) {
      const std::wstring branch = root + family.folder + arch;
      for (const std::wstring& name : family.files) m.fs.AddFile(branch + name, SampleFile(branch, name));
      for (const std::string& model : family.models)
        m.fs.AddFile(branch + std::wstring(model.begin(), model.end()) + L".GPD", "*GPDSpecVersion: \"1.0\"");
      m.fs.AddFile(branch + family.inf, SampleInf(family.models));
    }
  m.fs.AddFile(root + L"PrinterInfo.ini", "; \xC5\xE4\xD6\xC3\r\n" + kGbkModelSection +
                                              "\r\nCounts=2\r\n0=QX-630K\r\n1=QX-730K\r\n");
  m.fs.AddFile(root + L"USB驱动安装说明.txt", "Quillex \xB4\xF2\xD3\xA1\xBB\xFA\r\n");
  m.fs.AddFile(root + L"字体\\wqy.ttc", "font");
}
