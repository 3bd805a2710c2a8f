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
  fChecksum = Read([this, &take](zor::DtausReader& reader) {
    try {
      for (;;) {
        switch (reader.Next()) {
          case zor::DtausReader::Item::Header:
            fFiles.push_back({reader.Header(), {}, 0});
            continue;
          case zor::DtausReader::Item::Payment:
            fFiles.back().purposeLines =
                std::max(fFiles.back().purposeLines, reader.Payment().verwendungszweck.size());
            if (take) take(fFiles.size() - 1, reader.Payment());
            continue;
          case zor::DtausReader::Item::Trailer:
            fFiles.back().counted = reader.Trailer().counted;
            continue;
          case zor::DtausReader::Item::End:
            break;
        }
        break;
      }
    } catch (const zor::DtausReadError&) {
      fNotes = reader.Notes();
      throw;
    }
    fNotes = reader.Notes();
  });
}

bool CheckedDtaus::ReadAgain(
    const std::function<void(std::size_t, const zor::DtausPayment&)>& take) const {
  // The reading runs a batch ahead of `take` on a thread of its own; it only
  // reads what the first reading left.
  struct Read {
    std::size_t file = 0;
    zor::DtausPayment payment;
  };
  bool unchanged = true;
  ReadAhead<Read>(
      [&](const std::function<Read&()>& next) {
        unchanged = ReadAgainHere([&](std::size_t file, const zor::DtausPayment& payment) {
          Read& read = next();
          read.file = file;
          read.payment = payment;
        });
      },
      [&](const Read& read) { take(read.file, read.payment); });
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
