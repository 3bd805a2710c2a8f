// The resource table of this library, as a resource compiler would link it in.
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

/// Every resource of the library; the package defines the table (src/package/Resources.cpp).
std::span<const ResourceEntry> LinkedResources();

/// The entry of that type, name and language (0: any), or null. Hidden, so that each
/// library answers from its own table even when another one is loaded first.
const ResourceEntry* FindLinkedResource(std::string_view type, std::string_view name,
                                        std::uint16_t language);

}  // namespace zor::detail
