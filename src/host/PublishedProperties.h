// What the text form of a component needs to know of its class: the published
// properties in declaration order, base class first, with their accessors, as the
// compiler's type information describes them to the host framework. The host reads
// and writes the text; whoever knows the class hands it the properties.
#pragma once

#include <cstdint>
#include <span>

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

/// The published properties of a class, in the order they are loaded.
using PropertyList = std::span<const PropertyDescriptor* const>;

/// The text form of the component (see zordta/host/ComponentText.h).
String WriteComponentText(const TComponent& component, PropertyList properties);

/// Loads the text form into the component (see zordta/host/ComponentText.h).
void ReadComponentText(const String& text, TComponent& component, PropertyList properties);

}  // namespace zor::detail
