// The component palette: which classes a design environment offers, on which page.
#pragma once

#include <initializer_list>
#include <vector>

#include "zordta/host/Classes.h"
#include "zordta/host/Types.h"

namespace zor {

/// A component class as the palette knows it: its name and how to create one.
struct TComponentClass {
  /// The class name, ASCII ("TZorDTA").
  const char* Name;
  /// A new instance owned by aOwner (owned by the caller when aOwner is null).
  TComponent* (*Create)(TComponent* aOwner);
};

/// The class T under the name it reports as ClassName().
template <class T>
constexpr TComponentClass ComponentClass(const char* name) {
  return {name, [](TComponent* aOwner) -> TComponent* { return new T(aOwner); }};
}

/// One class on the palette.
struct TRegisteredComponent {
  String Page;
  String ClassName;
  TComponent* (*Create)(TComponent* aOwner);
};

/// Puts the classes on the palette page, in the given order. Raises Exception when a
/// class of the same name (compared without regard to case) is registered already;
/// then none of the classes is registered.
ZORDTA_API void RegisterComponents(const String& page,
                                   std::initializer_list<TComponentClass> classes);

/// The registered classes in the order they were registered.
ZORDTA_API std::vector<TRegisteredComponent> RegisteredComponents();
/// The palette pages in the order they first received a class.
ZORDTA_API std::vector<String> PalettePages();
/// Empties the palette (a design environment unloading its packages; tests).
ZORDTA_API void UnregisterAllComponents();

}  // namespace zor
