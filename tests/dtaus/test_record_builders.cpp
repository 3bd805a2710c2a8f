// The DTAUS record builders field by field against the layout, so that a fault
// names its field instead of an offset in a whole file.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <limits>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "core/RecordWriter.h"
#include "dtaus/Layout.h"
#include "dtaus/Records.h"
#include "dtaus/Repertoire.h"
#include "support/FieldChecks.h"
#include "zordta/host/SysUtils.h"

namespace {

namespace dtaus = zor::detail::dtaus;
using zor::detail::Field;

using zortest::Blanks;
using zortest::ExpectFields;
using zortest::Padded;

TEST(DtausRecordA, EveryFieldInItsPlace) {
  dtaus::ARecordFields fields;
  fields.kind = "LK";
  fields.auftraggeberBLZ = 1234;  // right-aligned after blanks, unlike the C record
  fields.auftraggeberName = "MUSTER GMBH UND SEHR LANGER NAME";
  fields.fileDate = zor::EncodeDate(2026, 12, 7);
  fields.diskettenNummer = "0042";
  fields.auftraggeberKontoNr = 532013000;
  fields.ausfuehrungsdatum = zor::EncodeDate(2026, 12, 10);
  const std::string record = dtaus::BuildARecord(fields);

  ASSERT_EQ(record.size(), dtaus::kPartLength);
  const auto& a = dtaus::kA;
  ExpectFields(record, {
                           {"recordLength", a.recordLength, "0128"},
                           {"recordType", a.recordType, "A"},
                           {"kind", a.kind, "LK"},
                           {"blz", a.blz, "    1234"},
                           {"senderBLZ", a.senderBLZ, "00000000"},
                           {"name", a.name, "MUSTER GMBH UND SEHR LANGER"},
                           {"fileDate", a.fileDate, "071226"},
                           {"diskettenNummer", a.diskettenNummer, "0042"},
                           {"konto", a.konto, "0532013000"},
                           {"reference", a.reference, "0000000000"},
                           {"reserved1", a.reserved1, Blanks(a.reserved1)},
                           {"ausfuehrungsdatum", a.ausfuehrungsdatum, "10122026"},
                           {"reserved2", a.reserved2, Blanks(a.reserved2)},
                           {"currency", a.currency, "1"},
                       });

  fields.ausfuehrungsdatum = 0;
  fields.diskettenNummer = "    ";
  fields.auftraggeberBLZ = 99'999'999;
  const std::string undated = dtaus::BuildARecord(fields);
  ExpectFields(undated, {
                            {"blz", a.blz, "99999999"},
                            {"diskettenNummer", a.diskettenNummer, "    "},
                            {"ausfuehrungsdatum", a.ausfuehrungsdatum, "        "},
                        });
}

// A C record of the given number of purpose lines "L1", "L2", ...
struct CRecord {
  std::vector<std::string> lines;
  std::vector<std::string_view> views;
  dtaus::CRecordBuffer buffer;
  std::string_view bytes;

  explicit CRecord(std::size_t lineCount) {
    for (std::size_t i = 1; i <= lineCount; ++i) lines.push_back("L" + std::to_string(i));
    views.assign(lines.begin(), lines.end());
    dtaus::CRecordFields fields;
    fields.blz = 50010517;
    fields.konto = 1234567890;
    fields.key = "53001";
    fields.auftraggeberBLZ = 1234;
    fields.auftraggeberKontoNr = 532013000;
    fields.betragCent = 1250;
    fields.name = "MAX MUSTERMANN MIT EINEM ZU LANGEN NAMEN";
    fields.auftraggeberName = "MUSTER GMBH";
    fields.purposeLines = views;
    bytes = dtaus::BuildCRecord(fields, buffer);
  }

  std::string_view Part(std::size_t index) const {
    return bytes.substr(index * dtaus::kPartLength, dtaus::kPartLength);
  }
};

TEST(DtausRecordC, FirstAndSecondPartsField) {
  const CRecord c(1);
  ASSERT_EQ(c.bytes.size(), 2 * dtaus::kPartLength);
  const auto& c1 = dtaus::kC1;
  ExpectFields(c.Part(0), {
                              {"recordLength", c1.recordLength, "0187"},
                              {"recordType", c1.recordType, "C"},
                              {"firstBLZ", c1.firstBLZ, "00000000"},
                              {"blz", c1.blz, "50010517"},
                              {"konto", c1.konto, "1234567890"},
                              {"customerNumber", c1.customerNumber, "0000000000000"},
                              {"key", c1.key, "53"},
                              {"keyExtension", c1.keyExtension, "001"},
                              {"bankInternal", c1.bankInternal, " "},
                              {"formerAmount", c1.formerAmount, "00000000000"},
                              {"clientBLZ", c1.clientBLZ, "00001234"},
                              {"clientKonto", c1.clientKonto, "0532013000"},
                              {"betragCent", c1.betragCent, "00000001250"},
                              {"reserved1", c1.reserved1, Blanks(c1.reserved1)},
                              {"name", c1.name, "MAX MUSTERMANN MIT EINEM ZU"},
                              {"reserved2", c1.reserved2, Blanks(c1.reserved2)},
                          });
  const auto& c2 = dtaus::kC2;
  ExpectFields(c.Part(1), {
                              {"clientName", c2.clientName, Padded("MUSTER GMBH", 27)},
                              {"purpose1", c2.purpose1, Padded("L1", 27)},
                              {"currency", c2.currency, "1"},
                              {"reserved1", c2.reserved1, "  "},
                              {"extensionCount", c2.extensionCount, "00"},
                              {"slot 1 type", c2.slots[0].type, "  "},
                              {"slot 1 text", c2.slots[0].text, Blanks(c2.slots[0].text)},
                              {"slot 2 type", c2.slots[1].type, "  "},
                              {"slot 2 text", c2.slots[1].text, Blanks(c2.slots[1].text)},
                              {"reserved2", c2.reserved2, Blanks(c2.reserved2)},
                          });
}

// Where purpose line n (1-based, from 2 on) goes: its part and its slot there.
dtaus::SlotLayout SlotOfLine(std::size_t line, std::size_t& part) {
  if (line <= 3) {
    part = 1;
    return dtaus::kC2.slots[line - 2];
  }
  part = 2 + (line - 4) / 4;
  return dtaus::kCFurther.slots[(line - 4) % 4];
}

TEST(DtausRecordC, ExtensionsFillTheirSlotsAndTheLastPartIsBlankAfterThem) {
  struct Case {
    std::size_t lines;
    const char* recordLength;
    std::size_t parts;
  };
  for (const Case& k : {Case{2, "0216", 2}, Case{3, "0245", 2}, Case{4, "0274", 3},
                        Case{7, "0361", 3}, Case{8, "0390", 4}, Case{12, "0506", 5},
                        Case{15, "0593", 5}, Case{16, "0622", 6}, Case{19, "0709", 6}}) {
    SCOPED_TRACE(std::to_string(k.lines) + " purpose lines");
    const CRecord c(k.lines);
    ASSERT_EQ(c.bytes.size(), k.parts * dtaus::kPartLength);
    ExpectFields(c.Part(0), {{"recordLength", dtaus::kC1.recordLength, k.recordLength}});
    const std::string count = (k.lines - 1 < 10 ? "0" : "") + std::to_string(k.lines - 1);
    ExpectFields(c.Part(1), {{"extensionCount", dtaus::kC2.extensionCount, count}});

    // Every slot of every part: the line that belongs there, or blanks.
    for (std::size_t line = 2; line <= 4 * k.parts; ++line) {
      std::size_t part = 0;
      const dtaus::SlotLayout slot = SlotOfLine(line, part);
      if (part >= k.parts) break;
      const bool used = line <= k.lines;
      const std::string name = "slot of line " + std::to_string(line);
      ExpectFields(c.Part(part), {
                                     {(name + " type").c_str(), slot.type, used ? "02" : "  "},
                                     {(name + " text").c_str(), slot.text,
                                      Padded(used ? "L" + std::to_string(line) : "", 27)},
                                 });
    }
    ExpectFields(c.Part(1), {{"reserved2", dtaus::kC2.reserved2, Blanks(dtaus::kC2.reserved2)}});
    for (std::size_t part = 2; part < k.parts; ++part) {
      ExpectFields(c.Part(part),
                   {{"reserved", dtaus::kCFurther.reserved, Blanks(dtaus::kCFurther.reserved)}});
    }
  }
}

TEST(DtausRecordE, EveryFieldInItsPlace) {
  dtaus::ERecordFields fields;
  fields.count = 3;
  fields.summeKontonummer = 99'999'989'000'000'001;  // the largest sum a full file can reach
  fields.summeBLZ = 160030620;
  fields.summeBetragCent = zor::limits::dtaus::kMaxCentSum;
  const std::string record = dtaus::BuildERecord(fields);

  ASSERT_EQ(record.size(), dtaus::kPartLength);
  const auto& e = dtaus::kE;
  ExpectFields(record, {
                           {"recordLength", e.recordLength, "0128"},
                           {"recordType", e.recordType, "E"},
                           {"reserved1", e.reserved1, Blanks(e.reserved1)},
                           {"count", e.count, "0000003"},
                           {"formerAmountSum", e.formerAmountSum, "0000000000000"},
                           {"kontoSum", e.kontoSum, "99999989000000001"},
                           {"blzSum", e.blzSum, "00000000160030620"},
                           {"centSum", e.centSum, "9999999999999"},
                           {"reserved2", e.reserved2, Blanks(e.reserved2)},
                       });
}

TEST(DtausAmountToCent, RoundsAsTwoDecimalsShowAndRefusesWhatTheFieldCannotHold) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double infinity = std::numeric_limits<double>::infinity();
  struct Case {
    double betrag;
    bool fits;
    std::int64_t cent;
  };
  for (const Case& k : {
           Case{0, true, 0},
           Case{12.5, true, 1250},
           Case{0.005, true, 1},      // its double lies just above the half
           Case{1.005, true, 100},    // its double lies below the half
           Case{12.125, true, 1213},  // an exact half goes away from zero
           Case{0.995, true, 99},
           Case{999'999'999.99, true, 99'999'999'999},
           Case{999'999'999.995, false, 0},  // rounds to a twelfth digit
           Case{1e12, false, 0},
           Case{-0.01, false, 0},
           Case{nan, false, 0},
           Case{infinity, false, 0},
       }) {
    std::int64_t cent = -1;
    const bool fits = dtaus::AmountToCent(k.betrag, cent);
    EXPECT_EQ(fits, k.fits) << k.betrag;
    if (!k.fits) continue;
    EXPECT_EQ(cent, k.cent) << k.betrag;
  }
}

// The record writer fills digits eight at a time and copies text in words: every
// width, the values around each carry and every text length against printf.
TEST(RecordWriter, DigitsAndTextAsPrintfWritesThem) {
  std::vector<std::uint64_t> values = {0, 1, 9, 10, 99, 100, 9'999, 10'000, 12'345'678};
  for (std::uint64_t power = 10; power <= 10'000'000'000'000'000'000ULL / 10; power *= 10) {
    values.push_back(power - 1);
    values.push_back(power);
    values.push_back(power + 1);
  }
  for (std::size_t width = 1; width <= 19; ++width) {
    for (const std::uint64_t value : values) {
      if (width < 19 && value >= static_cast<std::uint64_t>(std::pow(10.0, width))) continue;
      std::string record(width + 4, '#');
      zor::detail::RecordWriter(record.data()).Digits(Field{2, width}, value);
      char expected[32];
      std::snprintf(expected, sizeof expected, "##%0*llu##", static_cast<int>(width),
                    static_cast<unsigned long long>(value));
      EXPECT_EQ(record, expected) << "width " << width << ", value " << value;
    }
  }
  const std::string text = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  for (std::size_t width = 1; width <= 35; ++width) {
    for (std::size_t length = 0; length <= width + 1; ++length) {
      std::string record(width + 4, '#');
      zor::detail::RecordWriter(record.data()).Text(Field{2, width}, text.substr(0, length));
      char expected[48];
      std::snprintf(expected, sizeof expected, "##%-*.*s##", static_cast<int>(width),
                    static_cast<int>(width), text.substr(0, length).c_str());
      EXPECT_EQ(record, expected) << "width " << width << ", length " << length;
    }
  }
}

// A record field needs only the start of a cleaned text; that start is the
// start of the whole text cleaned, for every byte, length and room.
TEST(DtausRepertoire, CleaningIntoAFieldStopsAtItsRoom) {
  std::mt19937 rng(20261209);
  for (int n = 0; n < 2000; ++n) {
    std::string text(rng() % 60, ' ');
    for (char& c : text) c = static_cast<char>(rng() & 0xFF);
    for (const bool firstKind : {true, false}) {
      const std::string whole = dtaus::RemoveInvalidChars(text, firstKind);
      const std::size_t room = rng() % 64;
      std::string field(room + 1, '#');
      const std::size_t written = dtaus::RemoveInvalidChars(text, firstKind, field.data(), room);
      ASSERT_EQ(written, std::min(room, whole.size())) << "text " << n;
      EXPECT_EQ(field.substr(0, written), whole.substr(0, written)) << "text " << n;
      EXPECT_EQ(field[room], '#') << "text " << n << ": written past the room";
    }
  }
}

}  // namespace
