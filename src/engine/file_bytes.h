// A whole file's bytes, read through the platform layer.
#pragma once
#include <cstdint>
#include <string>

// False when the file cannot be opened or read, or holds more than `maxBytes`.
bool ReadFileBytes(const std::wstring& path, uint64_t maxBytes, std::string& bytes);
