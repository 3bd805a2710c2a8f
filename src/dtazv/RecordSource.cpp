#include "dtazv/RecordSource.h"

#include <istream>

namespace zor::detail::dtazv {

std::size_t RecordSource::Take(char* out, std::size_t width) {
  fIn.read(out, static_cast<std::streamsize>(width));
  const auto read = static_cast<std::size_t>(fIn.gcount());
  fOffset += read;
  return read;
}

int RecordSource::Peek() {
  const auto next = fIn.peek();
  return next == std::istream::traits_type::eof() ? -1 : next;
}

void RecordSource::Skip() {
  fIn.get();
  fOffset += static_cast<std::uint64_t>(fIn.gcount());
}

bool RecordSource::Broken() const {
  return fIn.bad();
}

}  // namespace zor::detail::dtazv
