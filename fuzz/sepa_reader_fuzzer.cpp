// Feeds arbitrary bytes to the checked SEPA reader. Whatever the input, it must
// end with End or with zor::SepaReadError, without a crash, a leak or a hang.
// What it accepts must add up: every block's and the header's stated count and
// sum are those of the payments handed over, and every payment is of its block.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "zordta/SepaReader.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string content(reinterpret_cast<const char*>(data), size);
  std::istringstream in(content);
  zor::SepaReader reader(in);
  std::size_t count = 0, blockCount = 0, blocks = 0, lastLine = 0;
  std::int64_t cents = 0, blockCents = 0;
  zor::SepaBlock block;
  const auto blockEnds = [&] {
    if (blocks == 0) return;
    Check(block.count == blockCount && block.cents == blockCents);
  };
  try {
    for (;;) {
      const zor::SepaReader::Item item = reader.Next();
      if (item == zor::SepaReader::Item::Block) {
        blockEnds();
        block = reader.Block();
        Check(block.number == ++blocks && block.line >= lastLine);
        lastLine = block.line;
        blockCount = 0;
        blockCents = 0;
      } else if (item == zor::SepaReader::Item::Payment) {
        const zor::SepaPayment& p = reader.Payment();
        Check(blocks > 0 && p.group == block.group);
        Check(p.cents >= 1 && p.cents <= 99'999'999'999);
        Check(reader.Place().payment == ++count && reader.Place().line >= lastLine);
        lastLine = reader.Place().line;
        ++blockCount;
        blockCents += p.cents;
        cents += p.cents;
      } else if (item == zor::SepaReader::Item::End) {
        break;
      }
    }
    blockEnds();
    Check(blocks > 0 && count > 0);
    Check(reader.Document().count == count && reader.Document().cents == cents);
    Check(reader.Next() == zor::SepaReader::Item::End);
  } catch (const zor::SepaReadError& e) {
    // A refused reader stays refused.
    try {
      reader.Next();
      Check(false);
    } catch (const zor::SepaReadError& again) {
      Check(again.Fault() == e.Fault());
    }
  }
  return 0;
}
