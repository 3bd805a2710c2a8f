// Fills the "{}" of a message with values, in order.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace zor::detail::bankdata {

inline std::string Fill(std::string_view message, std::initializer_list<std::string_view> values) {
  std::string out;
  const std::string_view* next = values.begin();
  for (std::size_t i = 0; i < message.size(); ++i) {
    if (message[i] == '{' && i + 1 < message.size() && message[i + 1] == '}' &&
        next != values.end()) {
      out += *next++;
      ++i;
    } else {
      out += message[i];
    }
  }
  return out;
}

}  // namespace zor::detail::bankdata
