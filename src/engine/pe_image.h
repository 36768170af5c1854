// What the installer needs to know of a Windows program or library before it
// hands it to the system: its machine type and the names it exports, read
// from its headers as data (nothing is loaded).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

constexpr uint16_t kPeMachineI386 = 0x14C;
constexpr uint16_t kPeMachineAmd64 = 0x8664;

struct PeImage {
  uint16_t machine = 0;  // the file header's Machine
  bool pe32Plus = false;  // the optional header is the 64-bit form
  bool isDll = false;
  std::vector<std::string> exports;  // exported names, in the table's order
};

// A library of this package exports a few dozen names; a file whose export
// names (terminators counted) pass this total is none of its libraries.
constexpr uint64_t kMaxExportNameBytes = 1u << 20;

// Parses an image held in memory; false when the bytes are not a PE image or
// its export names pass kMaxExportNameBytes (every offset is checked against
// the data, so any bytes are safe, and the work is bounded by the cap).
bool ParsePeImage(const std::string& bytes, PeImage& image);

// Reads the file at `path` through the platform layer and parses it; false
// when it cannot be read or is not a PE image.
bool ReadPeImage(const std::wstring& path, PeImage& image);

// An x86-64 image is machine AMD64 with the 64-bit optional header; an x86
// image is machine I386 with the 32-bit one.
bool IsX64Image(const PeImage& image);
bool IsX86Image(const PeImage& image);
bool ExportsName(const PeImage& image, const std::string& name);
