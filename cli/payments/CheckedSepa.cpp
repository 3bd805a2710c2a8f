#include "payments/CheckedSepa.h"

#include <istream>
#include <utility>

#include "io/FileBytes.h"

namespace zcli {

CheckedSepa::CheckedSepa(std::string path) : fPath(std::move(path)) {}

void CheckedSepa::Read(const std::function<void(const zor::SepaDocument&)>& start,
                       const std::function<void(const zor::SepaPayment&)>& take) {
  fBlocks.clear();
  SummedFileBuffer buffer(fPath, true);
  std::istream in(&buffer);
  zor::SepaReader reader(in);
  for (;;) {
    switch (reader.Next()) {
      case zor::SepaReader::Item::Document:
        fDocument = reader.Document();
        start(fDocument);
        continue;
      case zor::SepaReader::Item::Block:
        fBlocks.push_back(reader.Block());
        continue;
      case zor::SepaReader::Item::Payment:
        take(reader.Payment());
        continue;
      case zor::SepaReader::Item::End:
        return;
    }
  }
}

bool CheckedSepa::SeveralDates() const {
  for (const zor::SepaBlock& block : fBlocks) {
    if (block.group.date != fBlocks.front().group.date) return true;
  }
  return false;
}

}  // namespace zcli
