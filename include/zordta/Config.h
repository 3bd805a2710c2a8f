// Build configuration shared by every public header.
#pragma once

// One export macro; everything else is hidden. The libraries are built with
// -fvisibility=hidden, consumers see the same attribute and import the symbols.
#if defined(_WIN32)
#define ZORDTA_API
#else
#define ZORDTA_API __attribute__((visibility("default")))
#endif

// Interface width of the deliverable a consumer links against. The CMake target
// of each deliverable sets it as an INTERFACE definition:
//   1 -> interface text is UTF-16 (ZorDTAPackage14, ZorDTAPackage12)
//   0 -> interface text is 8-bit Windows-1252 (ZorDTAPackage6)
#ifndef ZORDTA_WIDE_STRINGS
#define ZORDTA_WIDE_STRINGS 1
#endif

#define ZORDTA_VERSION_MAJOR 4
#define ZORDTA_VERSION_MINOR 1
#define ZORDTA_VERSION_PATCH 2
