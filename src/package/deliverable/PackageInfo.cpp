// The description and version block of one deliverable. Compiled into each shared
// library on its own, since ZorDTAPackage14 and ZorDTAPackage12 share every other
// object but not their names.
#include "zordta/PackageInfo.h"

#if !defined(ZORDTA_PACKAGE_NAME) || !defined(ZORDTA_PACKAGE_DESCRIPTION)
#error "the deliverable's CMake target defines its name and description"
#endif

// clang-format off
#define ZORDTA_STR2(x) #x
#define ZORDTA_STR(x) ZORDTA_STR2(x)
#define ZORDTA_PRODUCT_VERSION_TEXT \
  ZORDTA_STR(ZORDTA_VERSION_MAJOR) "." ZORDTA_STR(ZORDTA_VERSION_MINOR) "." ZORDTA_STR(ZORDTA_VERSION_PATCH)
#define ZORDTA_FILE_VERSION_TEXT ZORDTA_PRODUCT_VERSION_TEXT ".0"
#define ZORDTA_FILE_DESCRIPTION "ZorDTA Components"
#define ZORDTA_PRODUCT_NAME "ZorDTA"
// clang-format on

namespace {

constexpr const char* kUnits[] = {"ZorDTA", "ZorDTAZV", nullptr};

constexpr ZorDTAPackageInfo kInfo = {
    ZORDTA_PACKAGE_NAME,
    ZORDTA_PACKAGE_DESCRIPTION,
    {ZORDTA_VERSION_MAJOR, ZORDTA_VERSION_MINOR, ZORDTA_VERSION_PATCH, 0},
    {ZORDTA_VERSION_MAJOR, ZORDTA_VERSION_MINOR, ZORDTA_VERSION_PATCH, 0},
    ZORDTA_FILE_VERSION_TEXT,
    ZORDTA_PRODUCT_VERSION_TEXT,
    ZORDTA_FILE_DESCRIPTION,
    ZORDTA_PRODUCT_NAME,
    ZORDTA_WIDE_STRINGS,
    kUnits,
};

// The same block for standard tools (readelf -p .zordta.version): one key=value per
// string, so each shows on a line of its own.
// clang-format off
[[gnu::used, gnu::section(".zordta.version")]] const char kVersionSection[] =
    "PackageName=" ZORDTA_PACKAGE_NAME "\0"
    "Description=" ZORDTA_PACKAGE_DESCRIPTION "\0"
    "FileVersion=" ZORDTA_FILE_VERSION_TEXT "\0"
    "ProductVersion=" ZORDTA_FILE_VERSION_TEXT "\0"
    "ProductVersionText=" ZORDTA_PRODUCT_VERSION_TEXT "\0"
    "FileDescription=" ZORDTA_FILE_DESCRIPTION "\0"
    "ProductName=" ZORDTA_PRODUCT_NAME;
// clang-format on

}  // namespace

extern "C" const ZorDTAPackageInfo* ZorDTA_PackageInfo(void) {
  return &kInfo;
}
