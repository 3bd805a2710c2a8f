// The package's resource table, and the two ways to look into it: FindResource for
// C++ hosts and the C entry point. Both answer from this library's own table, even
// when another build of the library is loaded first.
#include "zordta/host/Resources.h"

#include "host/LinkedResources.h"
#include "package/PaletteImages.h"
#include "zordta/PackageInfo.h"

namespace zor {
namespace {

// The design environment finds a palette image by the class name in capitals.
constexpr detail::ResourceEntry kResources[] = {
    {"BITMAP", "TZORDTA", ResourceLanguageGerman, detail::kPaletteImageTZorDTA,
     detail::kPaletteImageSize},
    {"BITMAP", "TZORDTAZV", ResourceLanguageGerman, detail::kPaletteImageTZorDTAZV,
     detail::kPaletteImageSize},
};

}  // namespace

std::span<const unsigned char> FindResource(std::string_view type, std::string_view name,
                                            std::uint16_t language) {
  const detail::ResourceEntry* entry = detail::FindResourceEntry(kResources, type, name, language);
  if (!entry) return {};
  return {entry->data, entry->size};
}

}  // namespace zor

extern "C" int ZorDTA_FindResource(const char* type, const char* name, unsigned language,
                                   const unsigned char** data, size_t* size) {
  if (!type || !name || language > 0xFFFF) return 0;
  const zor::detail::ResourceEntry* entry = zor::detail::FindResourceEntry(
      zor::kResources, type, name, static_cast<std::uint16_t>(language));
  if (!entry) return 0;
  if (data) *data = entry->data;
  if (size) *size = entry->size;
  return 1;
}
