#include "zordta/host/Resources.h"

#include "host/LinkedResources.h"

namespace zor::detail {
namespace {

bool SameAsciiIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
    if (upper(a[i]) != upper(b[i])) return false;
  }
  return true;
}

}  // namespace

const ResourceEntry* FindResourceEntry(std::span<const ResourceEntry> table, std::string_view type,
                                       std::string_view name, std::uint16_t language) {
  for (const ResourceEntry& entry : table) {
    if (SameAsciiIgnoringCase(entry.type, type) && SameAsciiIgnoringCase(entry.name, name) &&
        (language == ResourceLanguageAny || language == entry.language)) {
      return &entry;
    }
  }
  return nullptr;
}

}  // namespace zor::detail
