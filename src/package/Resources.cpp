// The package's resource table and its C entry point.
#include <span>

#include "host/LinkedResources.h"
#include "package/PaletteImages.h"
#include "zordta/PackageInfo.h"
#include "zordta/host/Resources.h"

namespace zor::detail {
namespace {

// The design environment finds a palette image by the class name in capitals.
constexpr ResourceEntry kResources[] = {
    {"BITMAP", "TZORDTA", ResourceLanguageGerman, kPaletteImageTZorDTA, kPaletteImageSize},
    {"BITMAP", "TZORDTAZV", ResourceLanguageGerman, kPaletteImageTZorDTAZV, kPaletteImageSize},
};

}  // namespace

std::span<const ResourceEntry> LinkedResources() {
  return kResources;
}

}  // namespace zor::detail

extern "C" int ZorDTA_FindResource(const char* type, const char* name, unsigned language,
                                   const unsigned char** data, size_t* size) {
  if (!type || !name || language > 0xFFFF) return 0;
  const zor::detail::ResourceEntry* entry =
      zor::detail::FindLinkedResource(type, name, static_cast<std::uint16_t>(language));
  if (!entry) return 0;
  if (data) *data = entry->data;
  if (size) *size = entry->size;
  return 1;
}
