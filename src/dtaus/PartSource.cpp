#include "dtaus/PartSource.h"

#include <algorithm>
#include <istream>

namespace zor::detail::dtaus {

std::string_view PartSource::Take(std::size_t width) {
  if (fBuffer.size() - fPosition < width) Fill(width);
  const std::string_view bytes = std::string_view(fBuffer).substr(fPosition, width);
  fPosition += bytes.size();
  return bytes;
}

std::string_view PartSource::Look(std::size_t width) {
  if (fBuffer.size() - fPosition < width) Fill(width);
  return std::string_view(fBuffer).substr(fPosition, width);
}

int PartSource::Peek() {
  if (fPosition == fBuffer.size()) Fill(1);
  if (fPosition == fBuffer.size()) return -1;
  return static_cast<unsigned char>(fBuffer[fPosition]);
}

void PartSource::Fill(std::size_t width) {
  if (fEnded) return;
  // What is left moves to the front; the block after it is read in one go.
  fBuffer.erase(0, fPosition);
  fStart += fPosition;
  fPosition = 0;
  const std::size_t wanted = std::max(width, kBlock);
  while (!fEnded && fBuffer.size() < wanted) {
    const std::size_t had = fBuffer.size();
    fBuffer.resize(wanted);
    fIn.read(fBuffer.data() + had, static_cast<std::streamsize>(wanted - had));
    fBuffer.resize(had + static_cast<std::size_t>(fIn.gcount()));
    if (!fIn) fEnded = true;
  }
}

}  // namespace zor::detail::dtaus
