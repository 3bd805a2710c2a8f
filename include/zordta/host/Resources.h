// Resources linked into the library: the palette images of the components.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "zordta/Config.h"

namespace zor {

/// Resource type of a device-independent bitmap: BITMAPINFOHEADER, colour table and
/// bottom-up rows, without a file header.
inline constexpr std::string_view ResourceTypeBitmap = "BITMAP";
/// Language of the package's resources: German (Germany).
inline constexpr std::uint16_t ResourceLanguageGerman = 1031;
/// Matches a resource of any language.
inline constexpr std::uint16_t ResourceLanguageAny = 0;

/// The bytes of the resource of that type, name and language; type and name are
/// compared without regard to case. Empty when the library holds no such resource.
ZORDTA_API std::span<const unsigned char> FindResource(std::string_view type, std::string_view name,
                                                       std::uint16_t language);

}  // namespace zor
