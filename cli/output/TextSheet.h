// The cover sheet as a text file for people: UTF-8, one line per figure.
#pragma once

#include <string>

#include "zordta/host/Types.h"

namespace zcli {

/// The component's text (CR LF between lines) as UTF-8 with LF and a final LF.
std::string SheetText(const zor::String& begleitzettel);

/// Writes the text beside the payment file; raises zor::Exception on failure.
void WriteTextSheet(const std::string& path, const zor::String& begleitzettel);

}  // namespace zcli
