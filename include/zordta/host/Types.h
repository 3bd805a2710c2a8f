// The basic types every part of the library speaks in.
#pragma once

#include <cstdint>
#include <string>

#include "zordta/Config.h"

namespace zor {

/// 8-bit text in the Windows-1252 code page: payment data, records, file content.
using AnsiString = std::string;

#if ZORDTA_WIDE_STRINGS
/// Interface text: paths, file names, messages, list lines (UTF-16 in this build).
using String = std::u16string;
#else
/// Interface text: paths, file names, messages, list lines (Windows-1252 in this build).
using String = std::string;
#endif
using Char = String::value_type;

/// Days since 30 December 1899; the fraction is the time of day.
using TDateTime = double;
/// A date; 0 stands for "no date" where the component says so.
using TDate = double;

/// File and folder names are interface text.
using TFileName = String;

}  // namespace zor
