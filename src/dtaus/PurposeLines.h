// Preparing the caller's purpose lines before a payment is booked.
#pragma once

#include "zordta/host/Classes.h"

namespace zor::detail::dtaus {

/// Removes, from the last line to the first, every line that is empty once blanks
/// and control characters are trimmed; other lines keep their blanks.
void RemoveBlankLines(TStrings& lines);

/// A single line whose text (with its CR LF) exceeds the field width becomes lines
/// of the field width and a last line with the rest; blanks at the very start and
/// end of the whole are dropped.
void SplitSingleLongLine(TStrings& lines);

}  // namespace zor::detail::dtaus
