#include "dtaus/PartSource.h"

#include <algorithm>
#include <cstring>
#include <istream>

namespace zor::detail::dtaus {

std::string_view PartSource::Take(std::size_t width) {
  if (fEnd - fPosition < width) Fill(width);
  const std::string_view bytes = Held().substr(fPosition, width);
  fPosition += bytes.size();
  return bytes;
}

std::string_view PartSource::Look(std::size_t width) {
  if (fEnd - fPosition < width) Fill(width);
  return Held().substr(fPosition, width);
}

int PartSource::Peek() {
  if (fPosition == fEnd) Fill(1);
  if (fPosition == fEnd) return -1;
  return static_cast<unsigned char>(fBuffer[fPosition]);
}

void PartSource::Fill(std::size_t width) {
  if (fEnded) return;
  // What is left moves to the front; the block after it is read in one go.
  std::memmove(fBuffer.data(), fBuffer.data() + fPosition, fEnd - fPosition);
  fEnd -= fPosition;
  fStart += fPosition;
  fPosition = 0;
  const std::size_t wanted = std::max(width, kBlock);
  if (fBuffer.size() < wanted) fBuffer.resize(wanted);
  while (!fEnded && fEnd < wanted) {
    fIn.read(fBuffer.data() + fEnd, static_cast<std::streamsize>(wanted - fEnd));
    fEnd += static_cast<std::size_t>(fIn.gcount());
    if (!fIn) fEnded = true;
  }
}

}  // namespace zor::detail::dtaus
