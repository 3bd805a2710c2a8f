#include "payments/CheckedSepa.h"

#include <utility>

namespace zcli {

CheckedSepa::CheckedSepa(std::string path) : fInput(std::move(path)) {}

template <class Visit>
std::uint64_t CheckedSepa::Read(Visit&& visit) const {
  return fInput.Read([&](std::istream& in) {
    zor::SepaReader reader(in);
    visit(reader);
  });
}

void CheckedSepa::Check() {
  fInput.Prepare();
  fBlocks.clear();
  fChecksum = Read([this](zor::SepaReader& reader) {
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
  std::uint64_t checksum = 0;
  try {
    checksum = Read([&](zor::SepaReader& reader) {
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
      // A change that keeps the figures shows in the checksum.
      if (reader.Document().count != fDocument.count ||
          reader.Document().cents != fDocument.cents) {
        blocks = 0;
      }
    });
  } catch (const zor::SepaReadError&) {
    return false;
  }
  return checksum == fChecksum && blocks == fBlocks.size();
}

bool CheckedSepa::SeveralDates() const {
  for (const zor::SepaBlock& block : fBlocks) {
    if (block.group.date != fBlocks.front().group.date) return true;
  }
  return false;
}

}  // namespace zcli
