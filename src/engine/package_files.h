// The files of a package branch that its copy list names, found anywhere in
// the branch's tree, and the listed names the branch lacks.
#pragma once
#include <string>
#include <vector>

// A file of the package tree that qualifies for the copy.
struct PackageFile {
  std::wstring folder;  // ending in "\"
  std::wstring name;
  bool isProtected = false;
};

// True when the ";"-closed `list` names `name` as one whole entry, both in
// lower case: a name that is only part of an entry ("drv.dll" of
// "unidrv.dll") is not listed.
bool ListNames(const std::wstring& list, const std::wstring& name);

// The files of `folder`'s tree named in `copyList`, in enumeration order,
// each marked when `protectedList` names it too (both lists in lower case);
// false when `folder` itself cannot be listed.
bool CollectPackageFiles(const std::wstring& folder, const std::wstring& copyList, const std::wstring& protectedList,
                         std::vector<PackageFile>& files);

// The names of `copyList` (as the list spells them, in its order) that no
// collected file bears, letter case ignored.
std::vector<std::wstring> MissingPackageFiles(const std::vector<PackageFile>& files, const std::wstring& copyList);
