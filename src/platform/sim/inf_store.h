// The simulated INF store: what SetupCopyOEMInfW has staged and
// SetupUninstallOEMInfW has not removed again.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace sim {

class InfStore {
 public:
  struct Entry {
    std::wstring publishedName;  // oemN.inf
    std::wstring sourceInf;
    std::wstring mediaLocation;
    uint32_t mediaType = 0;
    uint32_t copyStyle = 0;
    std::string content;
  };

  // The staged INF with this content, null when there is none: an identical
  // INF is staged only once.
  const Entry* FindContent(const std::string& content) const;
  const Entry& Stage(Entry entry);
  // The staged INF of this published name (letter case ignored), or null.
  const Entry* Find(const std::wstring& publishedName) const;

  std::vector<Entry> staged;
  int published = 0;  // oemN.inf names handed out; a removed one is not reused
};

}  // namespace sim
