#include "payments/CheckedDtaus.h"

#include <algorithm>
#include <utility>

#include "io/ReadAhead.h"

namespace zcli {

CheckedDtaus::CheckedDtaus(std::string path, zor::DtausReadOptions options)
    : fInput(std::move(path)), fOptions(options) {}

template <class Visit>
std::uint64_t CheckedDtaus::Read(Visit&& visit) const {
  return fInput.Read([&](std::istream& in) {
    zor::DtausReader reader(in, fOptions);
    visit(reader);
  });
}

void CheckedDtaus::Check(const std::function<void(std::size_t, const zor::DtausPayment&)>& take) {
  fInput.Prepare();
  fFiles.clear();
  fNotes.clear();
  if (take) {
    CheckAhead(take);
    return;
  }
  fChecksum = Read([this](zor::DtausReader& reader) {
    try {
      for (zor::DtausReader::Item item = reader.Next(); item != zor::DtausReader::Item::End;
           item = reader.Next()) {
        Note(item, reader.Header(), reader.Payment(), reader.Trailer().counted, {});
      }
    } catch (const zor::DtausReadError&) {
      fNotes = reader.Notes();
      throw;
    }
    fNotes = reader.Notes();
  });
}

void CheckedDtaus::Note(zor::DtausReader::Item item, const zor::DtausHeader& header,
                        const zor::DtausPayment& payment, const zor::DtausControlFigures& counted,
                        const std::function<void(std::size_t, const zor::DtausPayment&)>& take) {
  switch (item) {
    case zor::DtausReader::Item::Header:
      fFiles.push_back({header, {}, 0});
      break;
    case zor::DtausReader::Item::Payment:
      fFiles.back().purposeLines =
          std::max(fFiles.back().purposeLines, payment.verwendungszweck.size());
      if (take) take(fFiles.size() - 1, payment);
      break;
    case zor::DtausReader::Item::Trailer:
      fFiles.back().counted = counted;
      break;
    case zor::DtausReader::Item::End:
      break;
  }
}

// With a taker the file is read a batch ahead, on a thread of its own. What
// the first reading learns is noted on the caller's thread, in the file's
// order, so that the taker finds a payment's logical file noted, as it would
// without the thread.
void CheckedDtaus::CheckAhead(
    const std::function<void(std::size_t, const zor::DtausPayment&)>& take) {
  struct Step {
    zor::DtausReader::Item item = zor::DtausReader::Item::End;
    zor::DtausHeader header;
    zor::DtausPayment payment;
    zor::DtausControlFigures counted;
    PreparedAccount account;
  };
  std::vector<zor::DtausNote> notes;
  std::uint64_t checksum = 0;
  try {
    ReadAhead<Step>(
        [&](const std::function<Step&()>& next) {
          checksum = Read([&](zor::DtausReader& reader) {
            try {
              for (zor::DtausReader::Item item = reader.Next(); item != zor::DtausReader::Item::End;
                   item = reader.Next()) {
                Step& step = next();
                step.item = item;
                if (item == zor::DtausReader::Item::Header) step.header = reader.Header();
                if (item == zor::DtausReader::Item::Payment) {
                  step.payment = reader.Payment();
                  if (fPrepare) fPrepare(step.payment, step.account);
                }
                if (item == zor::DtausReader::Item::Trailer)
                  step.counted = reader.Trailer().counted;
              }
            } catch (const zor::DtausReadError&) {
              notes = reader.Notes();
              throw;
            }
            notes = reader.Notes();
          });
        },
        [&](const Step& step) {
          const TakingPrepared<PreparedAccount> taking(fCurrent,
                                                       fPrepare ? &step.account : nullptr);
          Note(step.item, step.header, step.payment, step.counted, take);
        });
  } catch (const zor::DtausReadError&) {
    fNotes = std::move(notes);
    throw;
  }
  fNotes = std::move(notes);
  fChecksum = checksum;
}

bool CheckedDtaus::ReadAgain(
    const std::function<void(std::size_t, const zor::DtausPayment&)>& take) const {
  // The reading runs a batch ahead of `take` on a thread of its own; it only
  // reads what the first reading left.
  struct Read {
    std::size_t file = 0;
    zor::DtausPayment payment;
    PreparedAccount account;
  };
  bool unchanged = true;
  ReadAhead<Read>(
      [&](const std::function<Read&()>& next) {
        unchanged = ReadAgainHere([&](std::size_t file, const zor::DtausPayment& payment) {
          Read& read = next();
          read.file = file;
          read.payment = payment;
          if (fPrepare) fPrepare(read.payment, read.account);
        });
      },
      [&](const Read& read) {
        const TakingPrepared<PreparedAccount> taking(fCurrent, fPrepare ? &read.account : nullptr);
        take(read.file, read.payment);
      });
  return unchanged;
}

bool CheckedDtaus::ReadAgainHere(
    const std::function<void(std::size_t, const zor::DtausPayment&)>& take) const {
  std::vector<zor::DtausControlFigures> again;
  std::uint64_t checksum = 0;
  try {
    checksum = Read([&](zor::DtausReader& reader) {
      for (;;) {
        switch (reader.Next()) {
          case zor::DtausReader::Item::Header:
            again.emplace_back();
            if (again.size() > fFiles.size()) return;
            continue;
          case zor::DtausReader::Item::Payment:
            take(again.size() - 1, reader.Payment());
            continue;
          case zor::DtausReader::Item::Trailer:
            again.back() = reader.Trailer().counted;
            continue;
          case zor::DtausReader::Item::End:
            break;
        }
        break;
      }
    });
  } catch (const zor::DtausReadError&) {
    return false;
  }
  // Texts may change and leave every figure as it was.
  if (checksum != fChecksum || again.size() != fFiles.size()) return false;
  for (std::size_t i = 0; i < again.size(); ++i) {
    if (!(again[i] == fFiles[i].counted)) return false;
  }
  return true;
}

std::int64_t CheckedDtaus::Payments() const {
  std::int64_t count = 0;
  for (const LogicalFile& f : fFiles) count += f.counted.anzahl;
  return count;
}

bool CheckedDtaus::AnyDm() const {
  return std::any_of(fFiles.begin(), fFiles.end(), [](const LogicalFile& f) {
    return f.header.waehrung == zor::DtausCurrency::DM;
  });
}

}  // namespace zcli
