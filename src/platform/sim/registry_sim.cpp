#include "platform/error.h"
#include "platform/registry.h"
#include "platform/sim/machine.h"

namespace plat {

namespace {

std::wstring RootName(Handle root) {
  return root == kHkeyLocalMachine ? L"HKLM" : std::wstring();
}

const sim::RegistryValue* Value(Handle key, const std::wstring& name, uint32_t& error) {
  sim::Registry& r = sim::machine().registry;
  auto open = r.open.find(sim::Id(key));
  if (open == r.open.end()) return error = kErrorInvalidHandle, nullptr;
  auto values = r.keys.find(open->second);
  if (values == r.keys.end()) return error = kErrorFileNotFound, nullptr;
  auto v = values->second.find(sim::FileSystem::Key(name));
  if (v == values->second.end()) return error = kErrorFileNotFound, nullptr;
  return &v->second;
}

}  // namespace

uint32_t RegOpenKeyExW(Handle root, const std::wstring& subKey, uint32_t, Handle& key) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("RegOpenKeyExW", subKey)) return GetLastError();
  std::wstring name = sim::FileSystem::Key(RootName(root) + L"\\" + subKey);
  sim::Registry& r = sim::machine().registry;
  if (!r.keys.count(name)) return kErrorFileNotFound;
  key = sim::machine().NewHandle();
  r.open[sim::Id(key)] = name;
  return kErrorSuccess;
}

uint32_t RegQueryDwordValue(Handle key, const std::wstring& name, uint32_t& value) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("RegQueryValueExW", name)) return GetLastError();
  uint32_t error = kErrorSuccess;
  const sim::RegistryValue* v = Value(key, name, error);
  if (!v) return error;
  if (!v->isDword) return kErrorInvalidData;
  value = v->dword;
  return kErrorSuccess;
}

uint32_t RegQueryStringValue(Handle key, const std::wstring& name, std::wstring& value) {
  auto lock = sim::machine().Lock();
  if (sim::Enter("RegQueryValueExW", name)) return GetLastError();
  uint32_t error = kErrorSuccess;
  const sim::RegistryValue* v = Value(key, name, error);
  if (!v) return error;
  if (v->isDword) return kErrorInvalidData;
  value = v->text;
  return kErrorSuccess;
}

uint32_t RegCloseKey(Handle key) {
  auto lock = sim::machine().Lock();
  sim::Enter("RegCloseKey");
  return sim::machine().registry.open.erase(sim::Id(key)) ? kErrorSuccess : kErrorInvalidHandle;
}

}  // namespace plat
