// Resource tables as a resource compiler would link them in: the host looks a
// resource up in a table; the package holds the library's table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace zor::detail {

struct ResourceEntry {
  const char* type;
  const char* name;
  std::uint16_t language;
  const unsigned char* data;
  std::size_t size;
};

/// The entry of the table with that type and name (compared without regard to case)
/// and language (0: any), or null.
const ResourceEntry* FindResourceEntry(std::span<const ResourceEntry> table, std::string_view type,
                                       std::string_view name, std::uint16_t language);

}  // namespace zor::detail
