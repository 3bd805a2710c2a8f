#include "payments/CheckedSepa.h"

#include <filesystem>
#include <fstream>
#include <streambuf>
#include <utility>

#include "io/FileBytes.h"
#include "zordta/host/Exception.h"
#include "zordta/host/Text.h"

namespace zcli {

namespace {

// Bytes in memory as a stream, without a copy.
class ViewBuffer : public std::streambuf {
 public:
  explicit ViewBuffer(std::string_view bytes) {
    char* begin = const_cast<char*>(bytes.data());
    setg(begin, begin, begin + bytes.size());
  }
};

}  // namespace

CheckedSepa::CheckedSepa(std::string path) : fPath(std::move(path)) {}

template <class Visit>
void CheckedSepa::Read(Visit&& visit) const {
  if (fInMemory) {
    ViewBuffer buffer(fBytes);
    std::istream in(&buffer);
    zor::SepaReader reader(in);
    visit(reader);
    return;
  }
  // Raises the German reason when the file cannot be opened or is a folder.
  ReadFileHead(fPath, 0);
  std::ifstream in(fPath, std::ios::binary);
  if (!in) {
    throw zor::Exception(zor::StringFromUtf8("Die Datei " + fPath + " kann nicht gelesen werden."));
  }
  zor::SepaReader reader(in);
  visit(reader);
}

void CheckedSepa::Check() {
  std::error_code error;
  fInMemory = fPath == kStandardInput || !std::filesystem::is_regular_file(fPath, error);
  if (fInMemory) fBytes = ReadInput(fPath);
  fBlocks.clear();
  Read([this](zor::SepaReader& reader) {
    for (;;) {
      switch (reader.Next()) {
        case zor::SepaReader::Item::Document:
          fDocument = reader.Document();
          continue;
        case zor::SepaReader::Item::Block:
          fBlocks.push_back(reader.Block());
          continue;
        case zor::SepaReader::Item::Payment:
          continue;
        case zor::SepaReader::Item::End:
          break;
      }
      break;
    }
  });
}

bool CheckedSepa::ReadAgain(const std::function<void(const zor::SepaPayment&)>& take) const {
  std::size_t blocks = 0;
  try {
    Read([&](zor::SepaReader& reader) {
      for (;;) {
        switch (reader.Next()) {
          case zor::SepaReader::Item::Document:
            if (reader.Document().messageId != fDocument.messageId) return;
            continue;
          case zor::SepaReader::Item::Block:
            if (++blocks > fBlocks.size()) return;
            continue;
          case zor::SepaReader::Item::Payment:
            take(reader.Payment());
            continue;
          case zor::SepaReader::Item::End:
            break;
        }
        break;
      }
      // A file changed in between shows in its figures (a change that keeps
      // them does not, as with DTAUS).
      if (reader.Document().count != fDocument.count ||
          reader.Document().cents != fDocument.cents) {
        blocks = 0;
      }
    });
  } catch (const zor::SepaReadError&) {
    return false;
  }
  return blocks == fBlocks.size();
}

bool CheckedSepa::SeveralDates() const {
  for (const zor::SepaBlock& block : fBlocks) {
    if (block.group.date != fBlocks.front().group.date) return true;
  }
  return false;
}

}  // namespace zcli
