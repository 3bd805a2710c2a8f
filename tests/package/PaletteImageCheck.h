// The check of a palette image, shared by the in-process and the loaded-library tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <span>

namespace zortest {

inline std::uint32_t U32(std::span<const unsigned char> d, std::size_t at) {
  return static_cast<std::uint32_t>(d[at] | d[at + 1] << 8 | d[at + 2] << 16) |
         static_cast<std::uint32_t>(d[at + 3]) << 24;
}
inline std::uint16_t U16(std::span<const unsigned char> d, std::size_t at) {
  return static_cast<std::uint16_t>(d[at] | d[at + 1] << 8);
}

/// A palette image as a bitmap resource holds it: no file header, 24 x 24, 4 bits
/// per pixel, 16 colours, uncompressed, rows bottom-up and padded to 4 bytes.
inline void ExpectPaletteImage(std::span<const unsigned char> image) {
  ASSERT_EQ(image.size(), 40u + 16 * 4 + 24 * 12);
  EXPECT_NE(U16(image, 0), 0x4D42) << "no file header in a resource";
  EXPECT_EQ(U32(image, 0), 40u);                             // BITMAPINFOHEADER
  EXPECT_EQ(static_cast<std::int32_t>(U32(image, 4)), 24);   // width
  EXPECT_EQ(static_cast<std::int32_t>(U32(image, 8)), 24);   // height, positive: bottom-up
  EXPECT_EQ(U16(image, 12), 1);                              // planes
  EXPECT_EQ(U16(image, 14), 4);                              // bits per pixel
  EXPECT_EQ(U32(image, 16), 0u);                             // BI_RGB
  EXPECT_EQ(U32(image, 20), 24u * 12);                       // size of the pixels
  EXPECT_TRUE(U32(image, 32) == 16 || U32(image, 32) == 0);  // colours used
  for (std::size_t c = 0; c < 16; ++c) EXPECT_EQ(image[40 + c * 4 + 3], 0) << "reserved byte";
  std::set<int> colours;
  for (std::size_t i = 40 + 64; i < image.size(); ++i) {
    colours.insert(image[i] >> 4);
    colours.insert(image[i] & 0x0F);
  }
  EXPECT_GE(colours.size(), 4u) << "something is drawn";
}

}  // namespace zortest
