#include "output/TextSheet.h"

#include "zordta/host/FileSystem.h"
#include "zordta/host/Text.h"

namespace zcli {

std::string SheetText(const zor::String& begleitzettel) {
  const std::string utf8 = zor::StringToUtf8(begleitzettel);
  std::string text;
  text.reserve(utf8.size() + 1);
  for (char c : utf8) {
    if (c != '\r') text += c;
  }
  if (text.empty() || text.back() != '\n') text += '\n';
  return text;
}

void WriteTextSheet(const std::string& path, const zor::String& begleitzettel) {
  // Bytes as they are: the text is UTF-8, not payment data.
  zor::WriteFileAtomically(zor::StringFromUtf8(path), SheetText(begleitzettel));
}

}  // namespace zcli
