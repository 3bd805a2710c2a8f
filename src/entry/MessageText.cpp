#include "zordta/entry/MessageText.h"

#include "zordta/Printable.h"
#include "zordta/entry/Values.h"

namespace zor::entry {

std::string Quoted(std::string_view text) {
  return "„" + zor::PrintableText(text) + "“";
}

std::string Counted(std::size_t count, std::string_view one, std::string_view many) {
  return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

std::string GermanAmount(std::int64_t cent) {
  std::string text = FormatCent(cent);
  text[text.size() - 3] = ',';
  return text;
}

}  // namespace zor::entry
