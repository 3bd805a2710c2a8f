#include "zordta/host/Exception.h"

#include <utility>

#include "zordta/host/Text.h"

namespace zor {

Exception::Exception(String message)
    : fMessage(std::move(message)), fUtf8(StringToUtf8(fMessage)) {}

}  // namespace zor
