// The palette: what the units' Register procedures put on it, and the host's
// refusal of a class registered twice.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/TestSupport.h"
#include "zordta/ZorDTA.h"
#include "zordta/ZorDTAZV.h"
#include "zordta/host/Registration.h"

namespace {

std::vector<std::string> ClassesOnPage(const char* page) {
  std::vector<std::string> names;
  for (const auto& r : zor::RegisteredComponents()) {
    if (r.Page == ZT(page)) names.push_back(zor::StringToUtf8(r.ClassName));
  }
  return names;
}

class RegistrationTest : public ::testing::Test {
 protected:
  RegistrationTest() { zor::UnregisterAllComponents(); }
  ~RegistrationTest() override { zor::UnregisterAllComponents(); }
};

TEST_F(RegistrationTest, NothingIsRegisteredUntilRegisterIsCalled) {
  EXPECT_TRUE(zor::RegisteredComponents().empty());
  zor::TZorDTA dta(nullptr);  // using a component registers nothing either
  EXPECT_TRUE(zor::PalettePages().empty());
}

TEST_F(RegistrationTest, BothUnitsRegisterTheirOneClassOnTheSamePage) {
  zor::ZorDTA::Register();
  EXPECT_EQ(ClassesOnPage("ZOR Software"), std::vector<std::string>{"TZorDTA"});
  zor::ZorDTAZV::Register();
  EXPECT_EQ(ClassesOnPage("ZOR Software"), (std::vector<std::string>{"TZorDTA", "TZorDTAZV"}));
  EXPECT_EQ(zor::PalettePages(), std::vector<zor::String>{ZT("ZOR Software")});
  for (const auto& r : zor::RegisteredComponents()) EXPECT_NE(r.ClassName, ZT("TZorBaseDTA"));
}

TEST_F(RegistrationTest, RegisteredClassCreatesItsComponentWithOwner) {
  zor::ZorDTA::Register();
  zor::ZorDTAZV::Register();
  zor::TComponent form(nullptr);
  for (const auto& r : zor::RegisteredComponents()) {
    zor::TComponent* created = r.Create(&form);
    EXPECT_EQ(created->ClassName(), r.ClassName);
    EXPECT_EQ(created->Owner(), &form);
  }
  EXPECT_EQ(form.ComponentCount(), 2);  // the owner deletes them
}

TEST_F(RegistrationTest, RegisteringAClassTwiceRaises) {
  zor::ZorDTA::Register();
  EXPECT_THROW_MESSAGE(zor::ZorDTA::Register(),
                       ZT("Eine Klasse mit dem Namen TZorDTA existiert bereits."));
  // Class names are compared without regard to case.
  EXPECT_THROW_MESSAGE(
      zor::RegisterComponents(ZT("Andere"), {zor::ComponentClass<zor::TZorDTA>("TZORDTA")}),
      ZT("Eine Klasse mit dem Namen TZORDTA existiert bereits."));
  EXPECT_EQ(zor::RegisteredComponents().size(), 1u);
}

TEST_F(RegistrationTest, FailedCallRegistersNoneOfItsClasses) {
  EXPECT_THROW_MESSAGE(
      zor::RegisterComponents(ZT("Seite"), {zor::ComponentClass<zor::TZorDTAZV>("TZorDTAZV"),
                                            zor::ComponentClass<zor::TZorDTAZV>("TZorDTAZV")}),
      ZT("Eine Klasse mit dem Namen TZorDTAZV existiert bereits."));
  EXPECT_TRUE(zor::RegisteredComponents().empty());
  zor::ZorDTAZV::Register();  // still possible
  EXPECT_EQ(ClassesOnPage("ZOR Software"), std::vector<std::string>{"TZorDTAZV"});
}

}  // namespace
