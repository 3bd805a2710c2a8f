// What the text form of a component needs to know of its class: the published
// properties in declaration order, base class first, with their accessors, as the
// compiler's type information describes them to the host framework.
#pragma once

#include <cstdint>
#include <vector>

#include "zordta/host/Classes.h"
#include "zordta/host/Types.h"

namespace zor::detail {

enum class PropertyKind {
  Boolean,
  Int32,
  UInt32,
  UInt8,
  Int64,
  Date,      // TDate / TDateTime
  AnsiText,  // payment data, Windows-1252
  Text,      // interface text
  Event,     // a std::function: published, but never stored
};

/// A property value on its way between text and accessor; the kind says which member holds it.
struct PropertyValue {
  bool boolean = false;
  std::int64_t integer = 0;
  double real = 0;
  AnsiString ansi;
  String text;
};

struct PropertyDescriptor {
  const char* name;
  PropertyKind kind;
  bool hasDefault;  // only Boolean properties declare one
  bool defaultValue;
  void (*get)(const TComponent&, PropertyValue&);  // null for events
  void (*set)(TComponent&, const PropertyValue&);  // null for events
};

/// The published properties of the component's class; empty for a class that publishes
/// none. Defined by the package (src/package/PublishedProperties.cpp).
std::vector<const PropertyDescriptor*> PublishedPropertiesOf(const TComponent& component);

}  // namespace zor::detail
