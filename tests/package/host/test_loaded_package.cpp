// A host that loads one deliverable with dlopen and links nothing else of ours, as
// a design environment does: it reads the description, the version block and both
// palette images through the C entry points, and the version section with readelf.
// CTest runs it once per deliverable with ZORDTA_LIBRARY and ZORDTA_PACKAGE set.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "package/PaletteImageCheck.h"
#include "zordta/PackageInfo.h"

namespace {

// Under LeakSanitizer the library stays mapped after dlclose: the print backends'
// dependencies (crypto, TLS) allocate in their own constructors, and once unmapped
// that memory would be reported as lost.
#if defined(__SANITIZE_ADDRESS__)
constexpr int kKeepMapped = RTLD_NODELETE;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr int kKeepMapped = RTLD_NODELETE;
#else
constexpr int kKeepMapped = 0;
#endif
#else
constexpr int kKeepMapped = 0;
#endif

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

class LoadedPackageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (path.empty() || package.empty()) GTEST_SKIP() << "ZORDTA_LIBRARY/ZORDTA_PACKAGE not set";
  }
  const std::string path = Env("ZORDTA_LIBRARY");
  const std::string package = Env("ZORDTA_PACKAGE");
  const bool wide = package != "ZorDTAPackage6";
};

TEST_F(LoadedPackageTest, CarriesItsDescriptionVersionAndImages) {
  // Loading and unloading leaves no trace: no registry key, no file.
  char folder[] = "/tmp/zordta-host-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  setenv("XDG_CONFIG_HOME", folder, 1);

  void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | kKeepMapped);
  ASSERT_NE(library, nullptr) << dlerror();
  const auto packageInfo =
      reinterpret_cast<decltype(&ZorDTA_PackageInfo)>(dlsym(library, "ZorDTA_PackageInfo"));
  const auto findResource =
      reinterpret_cast<decltype(&ZorDTA_FindResource)>(dlsym(library, "ZorDTA_FindResource"));
  ASSERT_NE(packageInfo, nullptr);
  ASSERT_NE(findResource, nullptr);

  const ZorDTAPackageInfo* info = packageInfo();
  EXPECT_STREQ(info->PackageName, package.c_str());
  EXPECT_STREQ(info->Description, wide ? "ZorDTA component by ZOR Software" : "ZorDTAPackage6");
  for (const unsigned* version : {info->FileVersion, info->ProductVersion}) {
    EXPECT_EQ(std::vector<unsigned>(version, version + 4), (std::vector<unsigned>{4, 1, 2, 0}));
  }
  EXPECT_STREQ(info->FileVersionText, "4.1.2.0");
  EXPECT_STREQ(info->ProductVersionText, "4.1.2");
  EXPECT_STREQ(info->FileDescription, "ZorDTA Components");
  EXPECT_STREQ(info->ProductName, "ZorDTA");
  EXPECT_EQ(info->WideStrings, wide ? 1 : 0);
  ASSERT_NE(info->Units, nullptr);
  EXPECT_STREQ(info->Units[0], "ZorDTA");
  EXPECT_STREQ(info->Units[1], "ZorDTAZV");
  EXPECT_EQ(info->Units[2], nullptr);

  for (const char* name : {"TZORDTA", "TZORDTAZV"}) {
    SCOPED_TRACE(name);
    const unsigned char* data = nullptr;
    std::size_t size = 0;
    ASSERT_EQ(findResource("BITMAP", name, 1031, &data, &size), 1);
    zortest::ExpectPaletteImage({data, size});
    EXPECT_EQ(findResource("BITMAP", name, 1033, &data, &size), 0);
  }
  EXPECT_EQ(findResource("BITMAP", "TZORBASEDTA", 1031, nullptr, nullptr), 0);
  EXPECT_EQ(findResource(nullptr, "TZORDTA", 1031, nullptr, nullptr), 0);

  EXPECT_EQ(dlclose(library), 0);
  EXPECT_TRUE(std::filesystem::is_empty(folder));
  std::filesystem::remove_all(folder);
}

TEST_F(LoadedPackageTest, StandardToolsReadTheVersionSection) {
  if (std::system("command -v readelf >/dev/null 2>&1") != 0) GTEST_SKIP() << "no readelf";
  std::string output;
  FILE* pipe = popen(("readelf -p .zordta.version '" + path + "' 2>&1").c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
  EXPECT_EQ(pclose(pipe), 0) << output;

  const std::string description = wide ? "ZorDTA component by ZOR Software" : "ZorDTAPackage6";
  for (const std::string& line :
       {"PackageName=" + package, "Description=" + description, std::string("FileVersion=4.1.2.0"),
        std::string("ProductVersion=4.1.2.0"), std::string("ProductVersionText=4.1.2"),
        std::string("FileDescription=ZorDTA Components"), std::string("ProductName=ZorDTA")}) {
    EXPECT_NE(output.find("]  " + line + "\n"), std::string::npos) << line << " in\n" << output;
  }
}

}  // namespace
