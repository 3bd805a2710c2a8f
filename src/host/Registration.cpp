#include "zordta/host/Registration.h"

#include <algorithm>
#include <mutex>

#include "host/HostMessages.h"
#include "zordta/host/Exception.h"
#include "zordta/host/SysUtils.h"
#include "zordta/host/Text.h"

namespace zor {
namespace {

struct Palette {
  std::mutex lock;
  std::vector<TRegisteredComponent> classes;
};

// Function-local: loading the library must not construct anything.
Palette& ThePalette() {
  static Palette palette;
  return palette;
}

bool SameClassName(const String& a, const String& b) {
  return UpperCase(a) == UpperCase(b);
}

}  // namespace

void RegisterComponents(const String& page, std::initializer_list<TComponentClass> classes) {
  Palette& palette = ThePalette();
  std::lock_guard<std::mutex> guard(palette.lock);
  std::vector<TRegisteredComponent> added;
  for (const TComponentClass& cls : classes) {
    const String name = StringFromUtf8(cls.Name ? cls.Name : "");
    const auto clash = [&](const TRegisteredComponent& r) {
      return SameClassName(r.ClassName, name);
    };
    // All or nothing, so that a failed call leaves the palette as it was.
    if (std::any_of(palette.classes.begin(), palette.classes.end(), clash) ||
        std::any_of(added.begin(), added.end(), clash)) {
      throw Exception(Format(StringFromUtf8(detail::hostmsg::kClassExists), {name}));
    }
    added.push_back({page, name, cls.Create});
  }
  palette.classes.insert(palette.classes.end(), added.begin(), added.end());
}

std::vector<TRegisteredComponent> RegisteredComponents() {
  Palette& palette = ThePalette();
  std::lock_guard<std::mutex> guard(palette.lock);
  return palette.classes;
}

std::vector<String> PalettePages() {
  Palette& palette = ThePalette();
  std::lock_guard<std::mutex> guard(palette.lock);
  std::vector<String> pages;
  for (const TRegisteredComponent& r : palette.classes) {
    if (std::find(pages.begin(), pages.end(), r.Page) == pages.end()) pages.push_back(r.Page);
  }
  return pages;
}

void UnregisterAllComponents() {
  Palette& palette = ThePalette();
  std::lock_guard<std::mutex> guard(palette.lock);
  palette.classes.clear();
}

}  // namespace zor
