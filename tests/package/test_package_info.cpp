// The package's resources and version block as seen from inside the deliverable;
// package/host/ loads each built library the way a host does.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "package/PaletteImageCheck.h"
#include "support/TestSupport.h"
#include "zordta/PackageInfo.h"
#include "zordta/ZorDTA.h"
#include "zordta/ZorDTAZV.h"
#include "zordta/host/Resources.h"

namespace {

TEST(PackageResourceTest, BothPaletteImagesAreGermanBitmapsNamedAfterTheirClass) {
  for (const char* name : {"TZORDTA", "TZORDTAZV"}) {
    SCOPED_TRACE(name);
    zortest::ExpectPaletteImage(zor::FindResource(zor::ResourceTypeBitmap, name, 1031));
    EXPECT_EQ(zor::FindResource("bitmap", name, zor::ResourceLanguageAny).size(), 392u);
    EXPECT_TRUE(zor::FindResource(zor::ResourceTypeBitmap, name, 1033).empty());
    EXPECT_TRUE(zor::FindResource("RCDATA", name, 1031).empty());
  }
  EXPECT_TRUE(zor::FindResource(zor::ResourceTypeBitmap, "TZORBASEDTA", 1031).empty());
  const auto dta = zor::FindResource(zor::ResourceTypeBitmap, "TZorDTA", 1031);
  const auto zv = zor::FindResource(zor::ResourceTypeBitmap, "TZorDTAZV", 1031);
  EXPECT_FALSE(std::equal(dta.begin(), dta.end(), zv.begin(), zv.end())) << "two images";
}

TEST(PackageInfoTest, VersionPropertyReportsTheVersionBlocksProductVersion) {
  const ZorDTAPackageInfo* info = ZorDTA_PackageInfo();
  EXPECT_EQ(info->WideStrings, ZORDTA_WIDE_STRINGS);
  zor::TZorDTA dta(nullptr);
  zor::TZorDTAZV zv(nullptr);
  EXPECT_EQ(dta.Version(), ZT(std::string("TZorDTA V") + info->ProductVersionText));
  EXPECT_EQ(zv.Version(), ZT(std::string("TZorDTAZV V") + info->ProductVersionText));
}

}  // namespace
