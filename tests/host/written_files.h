// What a run wrote to the simulated file system: the files and folders
// created, changed or removed since a snapshot, outside the folders a run
// may write to.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "platform/sim/machine.h"

class FileSystemSnapshot {
 public:
  // The whole file system now.
  explicit FileSystemSnapshot(const sim::FileSystem& fs) {
    for (const auto& [key, node] : fs.nodes) m_contents[key] = Describe(node);
  }

  // Paths created, changed or removed since the snapshot that lie neither in
  // nor below one of `allowedFolders`.
  std::vector<std::wstring> ChangedOutside(const sim::FileSystem& fs, const std::vector<std::wstring>& allowedFolders) const {
    std::vector<std::wstring> changed;
    auto allowed = [&](const std::wstring& key) {
      for (const std::wstring& folder : allowedFolders) {
        const std::wstring folderKey = sim::FileSystem::Key(folder);
        if (key == folderKey || key.starts_with(folderKey + L"\\")) return true;
      }
      return false;
    };
    for (const auto& [key, node] : fs.nodes) {
      auto before = m_contents.find(key);
      if ((before == m_contents.end() || before->second != Describe(node)) && !allowed(key)) changed.push_back(key);
    }
    for (const auto& [key, contents] : m_contents)
      if (!fs.nodes.count(key) && !allowed(key)) changed.push_back(key);
    return changed;
  }

 private:
  static std::string Describe(const sim::FileSystem::Node& node) {
    return node.directory ? std::string("<dir>") : node.data + "|" + std::to_string(node.attributes);
  }

  std::map<std::wstring, std::string> m_contents;
};
