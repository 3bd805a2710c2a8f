#include "io/MessageText.h"

#include "io/Utf8Check.h"
#include "io/Values.h"

namespace zcli {

std::string Quoted(std::string_view text) {
  return "„" + Printable(std::string(text)) + "“";
}

std::string Counted(std::size_t count, std::string_view one, std::string_view many) {
  return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

std::string GermanAmount(std::int64_t cent) {
  std::string text = FormatCent(cent);
  text[text.size() - 3] = ',';
  return text;
}

}  // namespace zcli
