#include "zordta/entry/PlaceSet.h"

#include <optional>
#include <utility>

namespace zor::entry {

namespace {

struct Split {
  std::string_view prefix;
  std::uint64_t number = 0;
};

// "Zeile 12" as "Zeile " and 12. A number with a leading zero is no row's: it
// stays a text, so that the set answers for the very text it was given.
std::optional<Split> SplitNumber(std::string_view where) {
  const std::size_t blank = where.rfind(' ');
  if (blank == std::string_view::npos) return std::nullopt;
  const std::string_view digits = where.substr(blank + 1);
  if (digits.empty() || digits.size() > 18 || (digits[0] == '0' && digits.size() > 1)) {
    return std::nullopt;
  }
  Split split{where.substr(0, blank + 1)};
  for (const char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    split.number = split.number * 10 + static_cast<std::uint64_t>(c - '0');
  }
  return split;
}

std::string Placed(const std::string& text, const std::string& place) {
  return place.empty() || text.starts_with(place) ? text : place + ", " + text;
}

}  // namespace

PlaceSet::Numbered& PlaceSet::Of(std::string_view prefix) {
  for (Numbered& n : fNumbered) {
    if (n.prefix == prefix) return n;
  }
  return fNumbered.emplace_back(Numbered{std::string(prefix), {}});
}

const PlaceSet::Numbered* PlaceSet::Find(std::string_view prefix) const {
  for (const Numbered& n : fNumbered) {
    if (n.prefix == prefix) return &n;
  }
  return nullptr;
}

void PlaceSet::Add(std::string_view where) {
  const std::optional<Split> split = SplitNumber(where);
  if (!split) {
    fOthers.emplace(where);
    return;
  }
  Block& block = Of(split->prefix).blocks[split->number / kBlockBits];
  const std::uint64_t bit = split->number % kBlockBits;
  block[bit / 64] |= std::uint64_t{1} << (bit % 64);
}

bool PlaceSet::Contains(std::string_view where) const {
  const std::optional<Split> split = SplitNumber(where);
  if (!split) return fOthers.count(std::string(where)) > 0;
  const Numbered* numbered = Find(split->prefix);
  if (numbered == nullptr) return false;
  const auto block = numbered->blocks.find(split->number / kBlockBits);
  if (block == numbered->blocks.end()) return false;
  const std::uint64_t bit = split->number % kBlockBits;
  return (block->second[bit / 64] >> (bit % 64)) & 1;
}

void PlaceSet::Merge(const PlaceSet& other, const std::string& place) {
  for (const Numbered& from : other.fNumbered) {
    Numbered& to = Of(Placed(from.prefix, place));
    for (const auto& [index, bits] : from.blocks) {
      Block& block = to.blocks[index];
      for (std::size_t i = 0; i < block.size(); ++i) block[i] |= bits[i];
    }
  }
  for (const std::string& where : other.fOthers) fOthers.insert(Placed(where, place));
}

}  // namespace zor::entry
