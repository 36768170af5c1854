#include <algorithm>

#include "platform/files.h"
#include "platform/sim/machine.h"

namespace sim {

std::wstring FileSystem::Key(const std::wstring& path) {
  std::wstring key;
  key.reserve(path.size());
  for (wchar_t c : path) {
    if (c == L'/') c = L'\\';
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    if (c == L'\\' && !key.empty() && key.back() == L'\\') continue;
    key.push_back(c);
  }
  while (key.size() > 3 && key.back() == L'\\') key.pop_back();
  if (key.size() == 2 && key[1] == L':') key.push_back(L'\\');
  return key;
}

std::wstring FileSystem::Parent(const std::wstring& key) {
  size_t slash = key.find_last_of(L'\\');
  if (slash == std::wstring::npos || key.size() <= 3) return {};
  return slash == 2 ? key.substr(0, 3) : key.substr(0, slash);
}

std::wstring FileSystem::LeafName(const std::wstring& path) {
  std::wstring p = path;
  while (p.size() > 3 && (p.back() == L'\\' || p.back() == L'/')) p.pop_back();
  size_t slash = p.find_last_of(L"\\/");
  return slash == std::wstring::npos ? p : p.substr(slash + 1);
}

std::wstring FileSystem::Resolve(const std::wstring& key) const {
  constexpr int kMaxJunctions = 63;
  std::wstring resolved = key;
  for (int followed = 0; followed <= kMaxJunctions; ++followed) {
    // The first folder on the way, from the root down, that is a junction.
    size_t end = resolved.find(L'\\', 3);
    for (;; end = resolved.find(L'\\', end + 1)) {
      auto it = nodes.find(resolved.substr(0, end));
      if (it == nodes.end()) return resolved;
      if (!it->second.linkTarget.empty()) {
        resolved = it->second.linkTarget + (end == std::wstring::npos ? L"" : resolved.substr(end));
        break;
      }
      if (end == std::wstring::npos) return resolved;
    }
  }
  return {};
}

FileSystem::Node* FileSystem::Find(const std::wstring& path) {
  auto it = nodes.find(Resolve(Key(path)));
  return it == nodes.end() ? nullptr : &it->second;
}

const FileSystem::Node* FileSystem::Find(const std::wstring& path) const {
  auto it = nodes.find(Resolve(Key(path)));
  return it == nodes.end() ? nullptr : &it->second;
}

FileSystem::Node& FileSystem::Create(const std::wstring& path, bool directory, uint32_t attributes) {
  std::wstring key = Key(path);
  Node& node = nodes[key];
  node.path = path;
  node.directory = directory;
  node.attributes = attributes;
  node.lastWriteTime = NextWriteTime();
  std::wstring parent = Parent(key);
  if (!parent.empty()) nodes[parent].children.push_back(key);
  return node;
}

void FileSystem::Remove(const std::wstring& path) {
  std::wstring key = Key(path);
  auto it = nodes.find(key);
  if (it == nodes.end()) return;
  for (const std::wstring& child : std::vector<std::wstring>(it->second.children)) Remove(nodes[child].path);
  nodes.erase(key);
  auto parent = nodes.find(Parent(key));
  if (parent != nodes.end()) {
    auto& c = parent->second.children;
    c.erase(std::remove(c.begin(), c.end(), key), c.end());
  }
}

// The parent folder of `path`, spelled as `path` spells it.
static std::wstring ParentPath(const std::wstring& path) {
  std::wstring p = path;
  while (p.size() > 3 && (p.back() == L'\\' || p.back() == L'/')) p.pop_back();
  size_t slash = p.find_last_of(L"\\/");
  if (slash == std::wstring::npos || p.size() <= 3) return {};
  return slash == 2 ? p.substr(0, 3) : p.substr(0, slash);
}

void FileSystem::AddDirectory(const std::wstring& path) {
  if (nodes.count(Key(path))) return;
  std::wstring parent = ParentPath(path);
  if (!parent.empty()) AddDirectory(parent);
  Create(path, true, plat::kFileAttributeDirectory);
}

void FileSystem::AddJunction(const std::wstring& path, const std::wstring& target) {
  AddDirectory(ParentPath(path));
  Create(path, true, plat::kFileAttributeDirectory | plat::kFileAttributeReparsePoint).linkTarget = Key(target);
}

void FileSystem::AddFile(const std::wstring& path, const std::string& bytes, uint32_t attributes) {
  std::wstring parent = ParentPath(path);
  if (!parent.empty()) AddDirectory(parent);
  Node* existing = Find(path);
  Node& node = existing ? *existing : Create(path, false, attributes);
  node.attributes = attributes;
  node.data = bytes;
  node.lastWriteTime = NextWriteTime();
}

void FileSystem::SetEnumerationOrder(const std::wstring& directory, const std::vector<std::wstring>& names) {
  Node* dir = Find(directory);
  if (!dir) return;
  std::vector<std::wstring> ordered;
  for (const std::wstring& name : names) {
    std::wstring key = Key(dir->path + L"\\" + name);
    if (std::find(dir->children.begin(), dir->children.end(), key) != dir->children.end()) ordered.push_back(key);
  }
  for (const std::wstring& key : dir->children)
    if (std::find(ordered.begin(), ordered.end(), key) == ordered.end()) ordered.push_back(key);
  dir->children = ordered;
}

bool FileSystem::Exists(const std::wstring& path) const { return Find(path) != nullptr; }

bool FileSystem::UserCanWrite(const std::wstring& path) const {
  for (std::wstring key = Key(path); !key.empty(); key = Parent(key)) {
    const Node* node = Find(key);
    if (node && node->administratorsOnly) return false;
  }
  return true;
}

bool FileSystem::IsDirectory(const std::wstring& path) const {
  const Node* n = Find(path);
  return n && n->directory;
}

std::string FileSystem::Contents(const std::wstring& path) const {
  const Node* n = Find(path);
  return n ? n->data : std::string();
}

uint32_t FileSystem::Attributes(const std::wstring& path) const {
  const Node* n = Find(path);
  return n ? n->attributes : plat::kInvalidFileAttributes;
}

std::vector<std::wstring> FileSystem::List(const std::wstring& directory) const {
  std::vector<std::wstring> names;
  if (const Node* dir = Find(directory))
    for (const std::wstring& key : dir->children) names.push_back(LeafName(nodes.at(key).path));
  return names;
}

bool FileSystem::ShareAllows(const std::wstring& key, uint32_t access, uint32_t share) const {
  const bool wantsRead = access & plat::kGenericRead, wantsWrite = access & plat::kGenericWrite;
  for (const auto& [id, f] : open) {
    if (f.key != key) continue;
    if (wantsRead && !(f.share & plat::kFileShareRead)) return false;
    if (wantsWrite && !(f.share & plat::kFileShareWrite)) return false;
    if ((f.access & plat::kGenericRead) && !(share & plat::kFileShareRead)) return false;
    if ((f.access & plat::kGenericWrite) && !(share & plat::kFileShareWrite)) return false;
  }
  return true;
}

bool FileSystem::AnyOpen(const std::wstring& key) const {
  for (const auto& [id, f] : open)
    if (f.key == key) return true;
  return false;
}

}  // namespace sim
