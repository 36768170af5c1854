#include "catalog/package_root.h"

#include "base/executable_dir.h"

namespace {

std::wstring& PackageRootCopy() {
  static std::wstring folder;
  return folder;
}

}  // namespace

std::wstring GetPackageRootDirectory() {
  const std::wstring& copy = PackageRootCopy();
  return copy.empty() ? GetExecutableDirectory() : copy;
}

void SetPackageRootDirectory(const std::wstring& folder) { PackageRootCopy() = folder; }
