// Places of diagnostics ("Zeile 12", "dateien[2], Buchung 3", "Auftraggeber")
// held compactly: a numbered place is one bit under its kind, so that the places
// of a million faults that are only counted take a few hundred KiB, not their texts.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "zordta/Config.h"

namespace zor::entry {

class ZORDTA_API PlaceSet {
 public:
  void Add(std::string_view where);
  bool Contains(std::string_view where) const;
  /// Adds `other`'s places, each placed in `place` unless it begins with it, as
  /// Diagnostics::AppendPlaced places a diagnostic.
  void Merge(const PlaceSet& other, const std::string& place = std::string());
  bool Empty() const { return fNumbered.empty() && fOthers.empty(); }

 private:
  static constexpr std::size_t kBlockBits = 512;
  using Block = std::array<std::uint64_t, kBlockBits / 64>;
  // The places "<prefix><number>" of one prefix, such as "Zeile ".
  struct Numbered {
    std::string prefix;
    std::unordered_map<std::uint64_t, Block> blocks;
  };
  Numbered& Of(std::string_view prefix);
  const Numbered* Find(std::string_view prefix) const;

  std::vector<Numbered> fNumbered;  // a handful: one a kind of place
  std::unordered_set<std::string> fOthers;
};

}  // namespace zor::entry
