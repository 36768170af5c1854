#include "base/executable_dir.h"

#include "platform/kernel.h"

namespace {
constexpr uint32_t kModuleNameCapacity = 260;
}

std::wstring GetExecutableDirectory() {
  std::wstring name = plat::GetModuleFileNameW(kModuleNameCapacity);
  size_t slash = name.rfind(L'\\');
  return slash == std::wstring::npos ? std::wstring() : name.substr(0, slash + 1);
}
