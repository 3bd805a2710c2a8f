// The checked SEPA reader: the elements of a document in the order SepaWriter
// writes them, each value checked as the writer checks it. A payment is read
// whole before it is handed over; the control figures are compared when their
// block, and the document, end.
#include "zordta/SepaReader.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <limits>
#include <optional>
#include <string_view>
#include <utility>

#include "sepa/SepaPartyChecks.h"
#include "sepa/SepaReadMessages.h"
#include "sepa/SepaReadParts.h"
#include "sepa/SepaSchema.h"
#include "sepa/SepaText.h"
#include "sepa/SepaValues.h"
#include "sepa/SepaXmlPull.h"
#include "zordta/Iban.h"
#include "zordta/Printable.h"
#include "zordta/host/Text.h"

namespace zor {

namespace {

using namespace detail::msgsepaRead;
using detail::Fill;

constexpr std::string_view kNotProvided = "NOTPROVIDED";
// Counted sums stop here: beyond 18 digits they differ from any stated sum anyway.
constexpr std::uint64_t kCountedCap = std::numeric_limits<std::int64_t>::max();

std::string Quoted(std::string_view text) {
  return "„" + PrintableText(text) + "“";
}

bool AllDigits(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::int64_t DigitsValue(std::string_view text) {
  std::int64_t value = 0;
  for (const char c : text) value = value * 10 + (c - '0');
  return value;
}

// "123", "123.4" or "123.45" with at most `maxUnits` digits before the point.
std::optional<std::int64_t> Cents(std::string_view text, std::size_t maxUnits) {
  const std::size_t point = text.find('.');
  const std::string_view units = text.substr(0, point);
  const std::string_view fraction =
      point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
  if (!AllDigits(units) || units.size() > maxUnits) return std::nullopt;
  if (point != std::string_view::npos && (fraction.empty() || fraction.size() > 2)) {
    return std::nullopt;
  }
  if (!fraction.empty() && !AllDigits(fraction)) return std::nullopt;
  std::int64_t cents = DigitsValue(units) * 100;
  if (fraction.size() >= 1) cents += (fraction[0] - '0') * 10;
  if (fraction.size() == 2) cents += fraction[1] - '0';
  return cents;
}

std::optional<std::chrono::year_month_day> IsoDate(std::string_view text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  const std::string_view y = text.substr(0, 4), m = text.substr(5, 2), d = text.substr(8, 2);
  if (!AllDigits(y) || !AllDigits(m) || !AllDigits(d)) return std::nullopt;
  const std::chrono::year_month_day date{std::chrono::year(static_cast<int>(DigitsValue(y))),
                                         std::chrono::month(static_cast<unsigned>(DigitsValue(m))),
                                         std::chrono::day(static_cast<unsigned>(DigitsValue(d)))};
  if (!date.ok() || date.year() < std::chrono::year(1900)) return std::nullopt;
  return date;
}

std::string AmountText(std::uint64_t cents) {
  char text[32];
  std::snprintf(text, sizeof text, "%llu.%02llu", static_cast<unsigned long long>(cents / 100),
                static_cast<unsigned long long>(cents % 100));
  return text;
}

std::string LineText(std::size_t line) {
  return line == 0 ? std::string() : Fill(_MsgReadLine, {std::to_string(line)}) + ": ";
}

}  // namespace

SepaReadError::SepaReadError(SepaReadFault fault, std::size_t line, std::string text)
    : Exception(StringFromUtf8(LineText(line) + text)),
      fFault(fault),
      fLine(line),
      fText(std::move(text)) {}

class detail::SepaReaderState {
 public:
  using Item = SepaReader::Item;

  explicit SepaReaderState(std::istream& in) : xml(in) {}

  Item Next() {
    if (error) throw *error;
    try {
      return Step();
    } catch (const SepaReadError& e) {
      error = e;
      throw;
    }
  }

  SepaDocument document;
  SepaBlock block;
  SepaPayment payment;
  SepaReadPlace place;

 private:
  enum class Phase { Start, Blocks, InBlock, Ended };

  Item Step() {
    for (;;) {
      switch (phase) {
        case Phase::Start:
          ReadHeader();
          phase = Phase::Blocks;
          return Item::Document;
        case Phase::Blocks:
          if (xml.At("PmtInf") || block.number == 0) {
            ReadBlockHead();
            phase = Phase::InBlock;
            return Item::Block;
          }
          xml.Close();  // CstmrCdtTrfInitn, CstmrDrctDbtInitn
          xml.Close();  // Document
          xml.Finish();
          CheckFigures(_MsgReadHeaderCount, _MsgReadHeaderSum, "", document.count, document.cents,
                       countLine, sumLine, place.payment, documentCents);
          phase = Phase::Ended;
          return Item::End;
        case Phase::InBlock:
          if (xml.At(schema->transaction) || blockCount == 0) {
            ReadPayment();
            return Item::Payment;
          }
          xml.Close();  // PmtInf
          CheckFigures(_MsgReadBlockCount, _MsgReadBlockSum, Quoted(block.paymentInfoId),
                       block.count, block.cents, blockCountLine, blockSumLine, blockCount,
                       blockCents);
          phase = Phase::Blocks;
          continue;
        case Phase::Ended:
          return Item::End;
      }
    }
  }

  bool Debits() const { return document.kind == SepaKind::DirectDebit; }

  [[noreturn]] void Refuse(std::string text) const {
    xml.Fail(SepaReadFault::Value, xml.Line(), std::move(text));
  }

  std::string Filled(std::string_view name) {
    std::string text = xml.Text(name);
    if (text.empty()) Refuse(Fill(_MsgReadEmpty, {Quoted(name)}));
    return text;
  }

  void Code(std::string_view name, std::initializer_list<std::string_view> codes,
            std::string* read = nullptr) {
    const std::string text = xml.Text(name);
    if (std::find(codes.begin(), codes.end(), text) == codes.end()) {
      std::string expected;
      for (const std::string_view code : codes) {
        expected += (expected.empty() ? "" : ", ") + Quoted(code);
      }
      Refuse(Fill(_MsgReadCode, {Quoted(text)}) + expected + ".");
    }
    if (read != nullptr) *read = text;
  }

  void Identifier(std::string_view name, bool blanks, std::string& target) {
    target = Filled(name);
    try {
      CheckSepaIdentifier(target, blanks, {});
    } catch (const SepaError& e) {
      Refuse(std::string(name) + ": " + e.Text());
    }
  }

  std::size_t Count(std::size_t& line) {
    const std::string text = xml.Text("NbOfTxs");
    line = xml.Line();
    if (!AllDigits(text) || text.size() > 15) Refuse(Fill(_MsgReadCount, {Quoted(text)}));
    return static_cast<std::size_t>(DigitsValue(text));
  }

  std::int64_t Sum(std::size_t& line) {
    const std::string text = xml.Text("CtrlSum");
    line = xml.Line();
    const std::optional<std::int64_t> cents = Cents(text, 16);
    if (!cents) Refuse(Fill(_MsgReadSum, {Quoted(text)}));
    return *cents;
  }

  std::chrono::year_month_day Date(std::string_view name) {
    const std::string text = xml.Text(name);
    const std::optional<std::chrono::year_month_day> date = IsoDate(text);
    if (!date) Refuse(Fill(_MsgReadDate, {Quoted(text)}));
    return *date;
  }

  void ReadCreationTime() {
    const std::string text = xml.Text("CreDtTm");
    const std::optional<std::chrono::year_month_day> date = IsoDate(text.substr(0, 10));
    const std::string_view time =
        std::string_view(text).substr(std::min<std::size_t>(10, text.size()));
    const bool form = date && time.size() == 9 && time[0] == 'T' && time[3] == ':' &&
                      time[6] == ':' && AllDigits(time.substr(1, 2)) &&
                      AllDigits(time.substr(4, 2)) && AllDigits(time.substr(7, 2));
    if (!form || DigitsValue(time.substr(1, 2)) > 23 || DigitsValue(time.substr(4, 2)) > 59 ||
        DigitsValue(time.substr(7, 2)) > 59) {
      Refuse(Fill(_MsgReadDateTime, {Quoted(text)}));
    }
    document.creationTime = std::chrono::local_days(*date) +
                            std::chrono::hours(DigitsValue(time.substr(1, 2))) +
                            std::chrono::minutes(DigitsValue(time.substr(4, 2))) +
                            std::chrono::seconds(DigitsValue(time.substr(7, 2)));
  }

  void ReadHeader() {
    std::string root;
    std::string nameSpace;
    xml.OpenRoot(root, nameSpace);
    document.line = xml.Line();
    if (root != "Document") {
      xml.Fail(SepaReadFault::Element, xml.Line(),
               Fill(_MsgReadUnexpectedExpected, {Quoted(root)}) + Quoted("Document") + ".");
    }
    schema = SepaSchemaOfNamespace(nameSpace);
    if (schema == nullptr) {
      xml.Fail(SepaReadFault::Namespace, xml.Line(),
               Fill(_MsgReadNamespace, {Quoted(nameSpace)}) + SepaSchemaMessages() + ".");
    }
    document.kind = schema->kind;
    document.version = schema->version;
    xml.Open(schema->initiation);
    xml.Open("GrpHdr");
    Identifier("MsgId", true, document.messageId);
    ReadCreationTime();
    document.count = Count(countLine);
    document.cents = Sum(sumLine);
    xml.Open("InitgPty");
    if (xml.At("Nm")) document.initiatingParty = Filled("Nm");
    Parts().PartyId(document.initiatingPartyId);
    xml.Close();
    xml.Close();
  }

  SepaPartsReader Parts() { return SepaPartsReader(xml, *schema); }

  // What the writer's checks refuse, placed at `line`. Text the writer would
  // transliterate or cut is read as it stands: reading changes nothing.
  void RefuseBreach(std::size_t line, const SepaError& e) const {
    const SepaError* breach = e.Fault() == SepaFault::Text ? nullptr : &e;
    for (const SepaError& further : e.Further()) {
      if (breach == nullptr && further.Fault() != SepaFault::Text) breach = &further;
    }
    if (breach == nullptr) return;
    const std::string& field = breach->Place().field;
    xml.Fail(SepaReadFault::Value, line, (field.empty() ? "" : field + ": ") + breach->Text());
  }

  void Iban(std::string& iban) {
    iban = xml.Text("IBAN");
    ibanLine = xml.Line();
    if (!CheckIBAN(iban).IsValid()) Refuse(Fill(_MsgReadIban, {Quoted(iban)}));
  }

  // An account the SEPA schemes do not reach, as the writer refuses it; placed
  // at its IBAN, which the agent's BIC may follow or precede.
  void Reach(const SepaAccount& account) {
    try {
      CheckSepaReach(account.iban, account.bic, {}, {});
    } catch (const SepaError& e) {
      xml.Fail(SepaReadFault::Value, ibanLine, e.Text());
    }
  }

  void Party(const SepaPartyNames& names, SepaAccount& account) {
    xml.Open(names.party);
    account.name = Filled("Nm");
    Parts().Address(account.address);
    Parts().PartyId(account.id);
    xml.Close();
    xml.Open(names.account);
    xml.Open("Id");
    Iban(account.iban);
    xml.Close();
    xml.Close();
  }

  // The BIC, or NOTPROVIDED where the writer had none; an agent the schema
  // does not require may be missing.
  void Agent(const SepaPartyNames& names, std::string& bic) {
    bic.clear();
    if (!names.agentRequired && !xml.At(names.agent)) return;
    xml.Open(names.agent);
    xml.Open("FinInstnId");
    if (xml.At("Othr")) {
      xml.Open("Othr");
      Code("Id", {kNotProvided});
      xml.Close();
    } else {
      bic = xml.Text(schema->bic);
      if (!IsSepaBic(bic, *schema)) Refuse(Fill(_MsgReadBic, {Quoted(bic)}));
    }
    xml.Close();
    xml.Close();
  }

  // The block's PmtTpInf: service level, local instrument, sequence type and
  // category purpose.
  void ReadBlockType(SepaBlock& next) {
    xml.Open("PmtTpInf");
    xml.Open("SvcLvl");
    Code("Cd", {"SEPA"});
    xml.Close();
    std::string code;
    if (Debits()) {
      xml.Open("LclInstrm");
      Code("Cd", {"CORE", "B2B"}, &code);
      xml.Close();
      next.instrument = code == "B2B" ? SepaInstrument::B2B : SepaInstrument::Core;
      Code("SeqTp", {"FRST", "RCUR", "OOFF", "FNAL"}, &code);
      next.group.sequence = SepaSequenceOf(code).value_or(SepaSequence::OneOff);
    } else if (xml.At("LclInstrm")) {
      xml.Open("LclInstrm");
      Code("Cd", {"INST"});
      xml.Close();
      next.instant = true;
    }
    if (xml.At("CtgyPurp")) {
      xml.Open("CtgyPurp");
      next.categoryPurpose = Filled("Cd");
      xml.Close();
    }
    xml.Close();
  }

  void ReadBlockHead() {
    xml.Open("PmtInf");
    SepaBlock next;
    next.line = xml.Line();
    next.number = block.number + 1;
    Identifier("PmtInfId", true, next.paymentInfoId);
    next.group.paymentInfoId = next.paymentInfoId;
    Code("PmtMtd", {schema->method});
    if (xml.At("BtchBookg")) {
      std::string flag;
      Code("BtchBookg", {"true", "false", "1", "0"}, &flag);
      next.batchBooking = flag == "true" || flag == "1";
    }
    next.count = Count(blockCountLine);
    next.cents = Sum(blockSumLine);
    if (Debits() || xml.At("PmtTpInf")) {
      ReadBlockType(next);
    } else {
      next.paymentTypePerTransaction = true;
    }
    if (schema->dateInner.empty()) {
      next.group.date = Date(schema->date);
    } else {
      xml.Open(schema->date);
      next.group.date = Date(schema->dateInner);
      xml.Close();
    }
    Party(schema->own, next.account);
    Agent(schema->own, next.account.bic);
    Reach(next.account);
    Parts().Party(Debits() ? "UltmtCdtr" : "UltmtDbtr", next.ultimateParty);
    if (xml.At("ChrgBr")) Code("ChrgBr", {"SLEV"});
    if (Debits() && xml.At("CdtrSchmeId")) {
      xml.Open("CdtrSchmeId");
      Parts().CreditorScheme(next.creditorId);
      if (!CheckCreditorId(next.creditorId)) {
        Refuse(Fill(_MsgReadCreditorId, {Quoted(next.creditorId)}));
      }
      xml.Close();
    }
    // A document has one scheme and one kind of transfer (instant or not).
    if (block.number > 0 && next.instrument != block.instrument) {
      xml.Fail(SepaReadFault::Mixed, next.line, Fill(_MsgReadMixed, {Quoted(next.paymentInfoId)}));
    }
    next.group.blockSettings = BlockSettingsIndex(next);
    CheckBlockParts(next);
    block = std::move(next);
    blockCount = 0;
    blockCents = 0;
  }

  // Blocks of the same settings share an index, in the order they first stand.
  std::size_t BlockSettingsIndex(const SepaBlock& next) {
    const SepaBlockSettings settings = SepaBlockSettingsOf(next);
    const auto known = std::find(seenSettings.begin(), seenSettings.end(), settings);
    if (known != seenSettings.end()) return static_cast<std::size_t>(known - seenSettings.begin());
    seenSettings.push_back(settings);
    return seenSettings.size() - 1;
  }

  // The settings a block would be written with, checked as the writer checks them.
  void CheckBlockParts(const SepaBlock& next) {
    documentSettings.kind = document.kind;
    documentSettings.version = document.version;
    documentSettings.initiatingPartyId = document.initiatingPartyId;
    try {
      SepaRefusals refusals;
      SepaCheckedBlockParts parts;
      CheckSepaBlockParts(documentSettings, SepaBlockSettingsOf(next), {}, parts, refusals);
      if (next.number == 1) {
        SepaPartyId initiating;
        CheckSepaDocumentParts(documentSettings, initiating, refusals);
      }
      refusals.RaiseAny();
    } catch (const SepaError& e) {
      RefuseBreach(next.line, e);
    }
  }

  void CheckPaymentParts(const SepaPayment& p) {
    try {
      CheckSepaAddressNeeded(p.counterparty.iban, p.counterparty.address, place.payment,
                             schema->other.party);
      if (Debits() && block.creditorId.empty() && p.creditorId.empty()) {
        SepaRefuse(SepaFault::CreditorId, {place.payment, "DrctDbtTx/CdtrSchmeId"},
                   Fill(_MsgReadMissing, {Quoted("CdtrSchmeId")}) + Quoted("DrctDbtTx") + ".");
      }
      if (!HasSepaExtras(p)) return;
      SepaRefusals refusals;
      CheckSepaExtras(documentSettings, {block.creditorId, block.instant}, p, place.payment, {},
                      extras, refusals);
      refusals.RaiseAny();
    } catch (const SepaError& e) {
      RefuseBreach(place.line, e);
    }
  }

  void ReadPayment() {
    xml.Open(schema->transaction);
    place = {xml.Line(), place.payment + 1};
    SepaPayment& p = payment;
    p.group = block.group;
    xml.Open("PmtId");
    p.instructionId.clear();
    if (xml.At("InstrId")) Identifier("InstrId", true, p.instructionId);
    Identifier("EndToEndId", true, p.endToEndId);
    if (p.endToEndId == kNotProvided) p.endToEndId.clear();
    p.uetr.clear();
    if (xml.At("UETR")) p.uetr = Filled("UETR");
    xml.Close();
    p.categoryPurpose.clear();
    if (block.paymentTypePerTransaction && xml.At("PmtTpInf")) {
      xml.Open("PmtTpInf");
      xml.Open("SvcLvl");
      Code("Cd", {"SEPA"});
      xml.Close();
      if (xml.At("CtgyPurp")) {
        xml.Open("CtgyPurp");
        p.categoryPurpose = Filled("Cd");
        xml.Close();
      }
      xml.Close();
    }
    const bool outer = !schema->amountOuter.empty();
    if (outer) xml.Open(schema->amountOuter);
    std::string currency;
    const std::string amount = xml.Text("InstdAmt", &currency);
    if (currency != "EUR") Refuse(Fill(_MsgReadCurrency, {Quoted(currency)}));
    const std::optional<std::int64_t> cents = Cents(amount, 9);
    if (!cents || *cents < 1) Refuse(Fill(_MsgReadAmount, {Quoted(amount)}));
    p.cents = *cents;
    if (outer) xml.Close();
    p.mandateId.clear();
    p.mandateSigned.reset();
    p.amendment.reset();
    p.creditorId.clear();
    if (Debits()) {
      xml.Open("DrctDbtTx");
      xml.Open("MndtRltdInf");
      Identifier("MndtId", false, p.mandateId);
      p.mandateSigned = Date("DtOfSgntr");
      Parts().Amendment(p.amendment);
      xml.Close();
      if (xml.At("CdtrSchmeId")) {
        xml.Open("CdtrSchmeId");
        Parts().CreditorScheme(p.creditorId);
        xml.Close();
      }
      xml.Close();
    }
    // The ultimate party of the own side stands before the counterparty's
    // bank, the counterparty's after its account.
    Parts().Party(Debits() ? "UltmtCdtr" : "UltmtDbtr",
                  Debits() ? p.ultimateCreditor : p.ultimateDebtor);
    Agent(schema->other, p.counterparty.bic);
    Party(schema->other, p.counterparty);
    Reach(p.counterparty);
    Parts().Party(Debits() ? "UltmtDbtr" : "UltmtCdtr",
                  Debits() ? p.ultimateDebtor : p.ultimateCreditor);
    p.purposeCode.clear();
    if (xml.At("Purp")) {
      xml.Open("Purp");
      p.purposeCode = xml.Text("Cd");
      if (!IsSepaPurposeCode(p.purposeCode)) {
        Refuse(Fill(_MsgReadPurpose, {Quoted(p.purposeCode)}));
      }
      xml.Close();
    }
    Parts().Remittance(p.remittance, p.creditorReference);
    xml.Close();
    CheckPaymentParts(p);
    ++blockCount;
    blockCents = std::min(blockCents + static_cast<std::uint64_t>(p.cents), kCountedCap);
    documentCents = std::min(documentCents + static_cast<std::uint64_t>(p.cents), kCountedCap);
  }

  mutable SepaXmlPull xml;
  const SepaSchema* schema = nullptr;  // of the document, once its root is read
  Phase phase = Phase::Start;
  std::optional<SepaReadError> error;
  std::size_t countLine = 0, sumLine = 0, blockCountLine = 0, blockSumLine = 0;
  std::size_t blockCount = 0;
  std::size_t ibanLine = 0;  // of the last IBAN read
  std::uint64_t blockCents = 0, documentCents = 0;
  SepaSettings documentSettings;                // what the document would be written with
  std::vector<SepaBlockSettings> seenSettings;  // by SepaGroup::blockSettings
  SepaCheckedExtras extras;                     // reused: keeps its storage from payment to payment

  void CheckFigures(const char* countMessage, const char* sumMessage, const std::string& name,
                    std::size_t statedCount, std::int64_t statedCents, std::size_t countAt,
                    std::size_t sumAt, std::size_t counted, std::uint64_t countedCents) const {
    if (statedCount != counted) {
      xml.Fail(SepaReadFault::ControlFigures, countAt,
               Fill(countMessage, {name}) +
                   Fill(_MsgReadStatedCounted, {std::to_string(statedCount)}) +
                   std::to_string(counted) + ".");
    }
    if (static_cast<std::uint64_t>(statedCents) != countedCents) {
      xml.Fail(
          SepaReadFault::ControlFigures, sumAt,
          Fill(sumMessage, {name}) +
              Fill(_MsgReadStatedCounted, {AmountText(static_cast<std::uint64_t>(statedCents))}) +
              (countedCents >= kCountedCap ? std::string("mehr als 18 Stellen")
                                           : AmountText(countedCents)) +
              ".");
    }
  }
};

SepaBlockSettings SepaBlockSettingsOf(const SepaBlock& b) {
  return {b.account,         b.creditorId,   b.ultimateParty,
          b.categoryPurpose, b.batchBooking, b.paymentTypePerTransaction,
          b.instant};
}

SepaReader::SepaReader(std::istream& in) : fState(std::make_unique<detail::SepaReaderState>(in)) {}

SepaReader::~SepaReader() = default;

SepaReader::Item SepaReader::Next() {
  return fState->Next();
}

const SepaDocument& SepaReader::Document() const {
  return fState->document;
}

const SepaBlock& SepaReader::Block() const {
  return fState->block;
}

const SepaPayment& SepaReader::Payment() const {
  return fState->payment;
}

const SepaReadPlace& SepaReader::Place() const {
  return fState->place;
}

}  // namespace zor
