// The cover sheet as a text file for people: UTF-8, one line per figure.
#pragma once

#include <string>

#include "zordta/host/Types.h"

namespace zcli {

/// The component's text (CR LF between lines) as UTF-8 with LF and a final LF.
std::string SheetText(const zor::String& begleitzettel);

/// Writes the text into the run's temporary file `file`, flushed to disk;
/// raises OutputError naming `shownAs` on failure.
void WriteTextSheet(const std::string& file, const std::string& shownAs,
                    const zor::String& begleitzettel);

}  // namespace zcli
