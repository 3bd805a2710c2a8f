// Fills the "{}" of a message with values, in order: the one way every layer
// above the host puts values into its message texts.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace zor::detail {

/// The message with its first "{}" replaced by the first value, the next by the
/// next and so on; a "{}" beyond the values stays. Values are not searched again,
/// so a value quoted from a file may hold "{}" itself.
inline std::string Fill(std::string_view message, std::initializer_list<std::string_view> values) {
  std::size_t size = message.size();
  for (std::string_view value : values) size += value.size();
  std::string out;
  out.reserve(size);
  const std::string_view* next = values.begin();
  std::size_t from = 0;
  while (next != values.end()) {
    const std::size_t at = message.find("{}", from);
    if (at == std::string_view::npos) break;
    out.append(message, from, at - from);
    out += *next++;
    from = at + 2;
  }
  out.append(message, from);
  return out;
}

}  // namespace zor::detail
