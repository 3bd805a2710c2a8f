// Text made safe to print in a message: each control character (C0, DEL and
// the C1 characters of UTF-8) written as its code, "[U+001B]", so that a value
// quoted from the input can neither steer a terminal nor start a line of its
// own. The library's messages and the tool's take it from here.
#pragma once

#include <string>
#include <string_view>

#include "zordta/Config.h"

namespace zor {

ZORDTA_API std::string PrintableText(std::string_view utf8);

}  // namespace zor
