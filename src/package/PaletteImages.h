// The palette images of the two components (generated: tools/make_palette_images.py).
#pragma once

namespace zor::detail {

// 40-byte header + 16 colours + 24 rows of 12 bytes.
inline constexpr unsigned kPaletteImageSize = 40 + 16 * 4 + 24 * 12;

extern const unsigned char kPaletteImageTZorDTA[kPaletteImageSize];
extern const unsigned char kPaletteImageTZorDTAZV[kPaletteImageSize];

}  // namespace zor::detail
