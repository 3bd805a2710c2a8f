// The text form in which a host stores a component and loads it back:
//
//   object ZorDTA1: TZorDTA
//     AuftraggeberName = 'M'#220'LLER GMBH'
//     Lastschriften = True
//   end
//
// Published properties in declaration order, base class first; a property holding its
// declared default is left out. Texts are quoted runs of printable ASCII ('' for a
// quote) and #n codes for everything else: the Windows-1252 byte for payment data,
// the Unicode code point for interface text, so that all deliverables write the same
// text. Booleans are True/False, integers decimal, dates the shortest decimal form
// that reads back to the same double. Events (std::function) are published but not
// stored: a host reconnects them in code.
#pragma once

#include <vector>

#include "zordta/host/Classes.h"
#include "zordta/host/Types.h"

namespace zor {

/// The component in text form; lines end with CR LF.
ZORDTA_API String WriteComponentToText(const TComponent& component);

/// Loads text written by WriteComponentToText: checks the whole text first, then sets
/// the name and runs the setters in declaration order; properties the text leaves out
/// keep their values. Raises Exception naming the line for text it cannot read, for a
/// class other than the component's, and when a setter rejects its value.
ZORDTA_API void ReadComponentFromText(const String& text, TComponent& component);

/// The names of the component's published properties in the order they are loaded.
ZORDTA_API std::vector<String> PublishedPropertyNames(const TComponent& component);

}  // namespace zor
