// Feeds arbitrary bytes to the checked SEPA reader. Whatever the input, it must
// end with End or with zor::SepaReadError, without a crash, a leak or a hang.
// What it accepts must add up: every block's and the header's stated count and
// sum are those of the payments handed over, and every payment is of its block.
// And what it accepts, written again, reads as the same payments and blocks,
// unless the writer refuses a text it would have to change.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "zordta/Sepa.h"
#include "zordta/SepaReader.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

struct Read {
  zor::SepaDocument document;
  std::vector<zor::SepaBlock> blocks;
  std::vector<zor::SepaPayment> payments;
};

Read ReadAll(const std::string& xml) {
  std::istringstream in(xml);
  zor::SepaReader reader(in);
  Read r;
  for (auto item = reader.Next(); item != zor::SepaReader::Item::End; item = reader.Next()) {
    if (item == zor::SepaReader::Item::Document) r.document = reader.Document();
    if (item == zor::SepaReader::Item::Block) r.blocks.push_back(reader.Block());
    if (item == zor::SepaReader::Item::Payment) r.payments.push_back(reader.Payment());
  }
  return r;
}

// The order the writer puts payments in: block settings, date, sequence, id.
bool Before(const zor::SepaPayment& a, const zor::SepaPayment& b) {
  return std::tie(a.group.blockSettings, a.group.date, a.group.sequence, a.group.paymentInfoId) <
         std::tie(b.group.blockSettings, b.group.date, b.group.sequence, b.group.paymentInfoId);
}

void WrittenAgainReadsTheSame(const Read& first) {
  zor::SepaSettings s;
  s.kind = first.document.kind;
  s.version = first.document.version;
  s.instrument = first.blocks.front().instrument;
  s.messageId = first.document.messageId;
  s.creationTime = first.document.creationTime;
  s.initiatingParty = first.document.initiatingParty;
  s.initiatingPartyId = first.document.initiatingPartyId;
  s.strict = true;
  for (const zor::SepaBlock& b : first.blocks) {
    const std::size_t index = b.group.blockSettings;
    const zor::SepaBlockSettings settings = zor::SepaBlockSettingsOf(b);
    if (index == 0) {
      s.account = settings.account;
      s.creditorId = settings.creditorId;
      s.ultimateParty = settings.ultimateParty;
      s.categoryPurpose = settings.categoryPurpose;
      s.batchBooking = settings.batchBooking;
      s.paymentTypePerTransaction = settings.paymentTypePerTransaction;
      s.instant = settings.instant;
    } else if (index == s.otherBlocks.size() + 1) {
      s.otherBlocks.push_back(settings);
    }
  }
  std::vector<zor::SepaPayment> payments = first.payments;
  std::ostringstream out;
  try {
    zor::SepaPlan plan(s);
    for (const zor::SepaPayment& p : payments) plan.Add(p);
    zor::SepaWriter writer(plan, out);
    for (const zor::SepaGroupTotals& g : plan.Groups()) {
      for (const zor::SepaPayment& p : payments) {
        if (p.group == g.group) writer.Add(p);
      }
    }
    writer.Finish();
  } catch (const zor::SepaError&) {
    return;  // a text the reader takes as it stands and the writer would change
  }
  const Read again = ReadAll(out.str());
  std::stable_sort(payments.begin(), payments.end(), Before);
  Check(again.payments == payments);
  Check(again.blocks.size() <= first.blocks.size());
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
    WrittenAgainReadsTheSame(ReadAll(content));
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
