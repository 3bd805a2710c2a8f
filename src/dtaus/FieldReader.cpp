#include "dtaus/FieldReader.h"

#include <algorithm>
#include <cstring>

namespace zor::detail {

void FieldReader::Refill(std::size_t width) {
  // The unread rest, shorter than one field, moves to the front of the window.
  const std::string rest(fData.substr(fPosition));
  fWindow.resize(std::max({fStream ? kWindow : std::size_t{0}, width, rest.size()}));
  std::memcpy(fWindow.data(), rest.data(), rest.size());
  std::size_t have = rest.size();
  while (fStream && have < fWindow.size()) {
    const std::int64_t read =
        fStream->Read(fWindow.data() + have, static_cast<std::int64_t>(fWindow.size() - have));
    if (read <= 0) {
      fStream = nullptr;
      break;
    }
    have += static_cast<std::size_t>(read);
  }
  if (have < width) {
    std::memset(fWindow.data() + have, ' ', width - have);
    have = width;
  }
  fData = std::string_view(fWindow.data(), have);
  fPosition = 0;
}

}  // namespace zor::detail
