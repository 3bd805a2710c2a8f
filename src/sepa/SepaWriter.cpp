#include <libxml/entities.h>
#include <libxml/xmlwriter.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <memory>
#include <new>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "sepa/SepaMessages.h"
#include "sepa/SepaSchema.h"
#include "sepa/SepaValues.h"
#include "zordta/Sepa.h"
#include "zordta/host/SysUtils.h"

namespace zor {

namespace {

using namespace detail::msgsepa;

// Amounts and sums are never negative here.
std::string Amount(std::int64_t cents) {
  char text[32];
  char* end = std::to_chars(text, text + sizeof text - 3, cents / 100).ptr;
  *end++ = '.';
  *end++ = static_cast<char>('0' + cents % 100 / 10);
  *end++ = static_cast<char>('0' + cents % 10);
  return std::string(text, end);
}

std::string CreationTime(const SepaSettings& s) {
  if (!s.creationTime) return FormatDateTime("yyyy-mm-dd\"T\"hh:nn:ss", Now());
  const auto days = std::chrono::floor<std::chrono::days>(*s.creationTime);
  const std::chrono::hh_mm_ss time(*s.creationTime - days);
  char text[16];
  std::snprintf(text, sizeof text, "T%02d:%02d:%02d", static_cast<int>(time.hours().count()),
                static_cast<int>(time.minutes().count()), static_cast<int>(time.seconds().count()));
  return detail::SepaIsoDate(std::chrono::year_month_day(days)) + text;
}

int WriteToStream(void* context, const char* buffer, int length) {
  auto& out = *static_cast<std::ostream*>(context);
  out.write(buffer, length);
  return out ? length : -1;
}

int CloseStream(void* context) {
  auto& out = *static_cast<std::ostream*>(context);
  out.flush();
  return out ? 0 : -1;
}

// Whether a text needs libxml2's escaping: a byte per character, so that the
// common text without any is one look-up per character.
constexpr std::array<bool, 256> kNeedsEscaping = [] {
  std::array<bool, 256> needs{};
  for (const char c : std::string_view("<>&\"\r")) needs[static_cast<unsigned char>(c)] = true;
  return needs;
}();

// One transaction, its start and end tag included, made as text and handed to
// the text writer in one piece: its bookkeeping per element (a list entry, the
// indentation written blank by blank) cost most of the time of a large
// document. The bytes are those it makes itself: one element a line, indented
// two blanks a level, text escaped by the function xmlTextWriterWriteString uses.
//
// Apart from its values, a transaction's text depends only on which of its
// optional parts it has, its shape. The first transaction of a shape is made
// element by element and the text between its values kept; the others are
// that text with their values put between.
class TransactionBody {
 public:
  // Document, the initiation and PmtInf are open around a transaction.
  static constexpr std::size_t kTransactionDepth = 3;
  static constexpr std::size_t kShapes = 8;

  // `shape` below kShapes; the same shape must make the same elements.
  void Begin(std::size_t shape, std::string_view name) {
    text.clear();
    pieces = &shapes[shape];
    recording = !known[shape];
    next = 0;
    if (!recording) return;
    current = shape;
    pieces->clear();  // what a transaction that failed midway left
    cut = 0;
    depth = kTransactionDepth;
    Start(name);
  }
  void Start(std::string_view name) {
    if (!recording) return;
    Indent();
    text += '<';
    text += name;
    text += ">\n";
    open[depth++ - kTransactionDepth] = name;
  }
  void End() {
    if (!recording) return;
    --depth;
    Indent();
    text += "</";
    text += open[depth - kTransactionDepth];
    text += ">\n";
  }
  // `attribute` is written as it stands.
  void Element(std::string_view name, std::string_view content, std::string_view attribute = {}) {
    Put(name, content, attribute, true);
  }
  // Content the checks left without a character XML escapes: references,
  // codes, IBAN, BIC, amounts and dates. Only names and texts need the look.
  void PlainElement(std::string_view name, std::string_view content,
                    std::string_view attribute = {}) {
    Put(name, content, attribute, false);
  }
  // The transaction's text, its end tag written.
  const std::string& Finished() {
    if (!recording) {
      text += (*pieces)[next];
      return text;
    }
    End();
    Cut();
    known[current] = true;
    return text;
  }

 private:
  void Put(std::string_view name, std::string_view content, std::string_view attribute,
           bool escape) {
    if (!recording) {
      text += (*pieces)[next++];
      Content(content, escape);
      return;
    }
    Indent();
    text += '<';
    text += name;
    text += attribute;
    text += '>';
    Cut();
    Content(content, escape);
    cut = text.size();
    text += "</";
    text += name;
    text += ">\n";
  }
  void Content(std::string_view content, bool escape) {
    if (escape) {
      Escaped(content);
    } else {
      text += content;
    }
  }
  void Indent() { text.append(2 * depth, ' '); }
  // The text since the last value is a piece of the shape.
  void Cut() { pieces->emplace_back(text, cut); }
  struct FreeXml {
    void operator()(xmlChar* p) const { xmlFree(p); }
  };
  // Escaped by libxml2's own function, the one its text writer uses for text;
  // almost no text needs it, so the others skip the copy.
  void Escaped(std::string_view content) {
    const auto needs = [](char c) { return kNeedsEscaping[static_cast<unsigned char>(c)]; };
    if (std::none_of(content.begin(), content.end(), needs)) {
      text += content;
      return;
    }
    const std::string value(content);
    std::unique_ptr<xmlChar, FreeXml> escaped(
        xmlEncodeSpecialChars(nullptr, BAD_CAST value.c_str()));
    if (!escaped) throw std::bad_alloc();
    text += reinterpret_cast<const char*>(escaped.get());
  }

  std::string text;  // reused: keeps its storage from payment to payment
  std::array<std::vector<std::string>, kShapes> shapes;
  std::array<bool, kShapes> known{};
  std::vector<std::string>* pieces = nullptr;  // of the transaction's shape
  bool recording = false;
  std::size_t current = 0;   // the shape being recorded
  std::size_t next = 0;      // the piece before the next value
  std::size_t cut = 0;       // where the text after the last value begins
  std::size_t depth = 0;     // while recording
  std::string_view open[8];  // names of the open elements from the transaction on
};

}  // namespace

class detail::SepaWriterState {
 public:
  SepaWriterState(const SepaPlan& plan, std::ostream& out)
      : stream(out),
        settings(plan.Settings()),
        checked(CheckSepaSettings(settings, {})),
        groups(plan.Groups()),
        seals(plan.fSeals),
        schema(SepaSchemaOf(settings.kind, settings.version)),
        debits(settings.kind == SepaKind::DirectDebit) {
    if (groups.empty()) SepaRefuse(SepaFault::Totals, {}, _MsgSepaNoPayments);
    xmlOutputBufferPtr buffer = xmlOutputBufferCreateIO(WriteToStream, CloseStream, &out, nullptr);
    if (buffer == nullptr) SepaRefuse(SepaFault::Stream, {}, _MsgSepaStream);
    writer.reset(xmlNewTextWriter(buffer));  // owns the buffer from here on
    if (writer == nullptr) {
      xmlOutputBufferClose(buffer);
      SepaRefuse(SepaFault::Stream, {}, _MsgSepaStream);
    }
    Check(xmlTextWriterSetIndent(writer.get(), 1));
    Check(xmlTextWriterSetIndentString(writer.get(), BAD_CAST "  "));
    Check(xmlTextWriterStartDocument(writer.get(), "1.0", "UTF-8", nullptr));
    Start("Document");
    Check(xmlTextWriterWriteAttribute(writer.get(), BAD_CAST "xmlns",
                                      BAD_CAST schema.nameSpace.data()));
    Start(schema.initiation);
    Start("GrpHdr");
    Element("MsgId", checked.messageId);
    Element("CreDtTm", CreationTime(settings));
    Element("NbOfTxs", std::to_string(plan.Count()));
    Element("CtrlSum", Amount(plan.Cents()));
    Start("InitgPty");
    Element("Nm", checked.initiatingParty);
    End();
    End();
    StartGroup();
  }

  void Add(const SepaPayment& payment) {
    if (finished) SepaRefuse(SepaFault::Group, {}, _MsgSepaFinished);
    const std::size_t ordinal = ++written;
    const SepaGroup group = SepaGroupOf(settings, payment);
    if (!(group == Current().group)) {
      if (!Complete() || current + 1 == groups.size() || !(group == groups[current + 1].group)) {
        SepaRefuse(SepaFault::Group, {ordinal, {}},
                   Fill(_MsgSepaWrongGroup, {SepaIsoDate(Current().group.date)}));
      }
      End();  // PmtInf
      ++current;
      count = 0;
      cents = 0;
      digest = 0;
      StartGroup();
    }
    if (count == Current().count) {
      SepaRefuse(SepaFault::Totals, {ordinal, {}},
                 Fill(_MsgSepaGroupCount, {SepaIsoDate(Current().group.date)}));
    }
    // A group the plan took as given is not checked again: the digests of its
    // payments must add up to the plan's before the group is complete.
    const bool asGiven = seals[current].asGiven;
    const SepaCheckedPayment p = asGiven ? SepaPaymentAsGiven(settings, payment, ordinal)
                                         : CheckSepaPayment(settings, payment, ordinal, {}, room);
    if (asGiven) digest += SepaPaymentDigest(payment);
    ++count;
    cents += payment.cents;
    if (count == Current().count && !Complete()) {
      SepaRefuse(SepaFault::Totals, {ordinal, {}},
                 Fill(Incomplete(), {SepaIsoDate(Current().group.date)}));
    }
    WritePayment(payment, p);
  }

  void Finish() {
    if (finished) SepaRefuse(SepaFault::Group, {}, _MsgSepaFinished);
    if (current + 1 != groups.size() || !Complete()) {
      SepaRefuse(SepaFault::Totals, {},
                 Fill(Complete() ? _MsgSepaGroupTotals : Incomplete(),
                      {SepaIsoDate(Current().group.date)}));
    }
    Check(xmlTextWriterEndDocument(writer.get()));  // closes every open element
    Check(xmlTextWriterFlush(writer.get()));
    finished = true;
    writer.reset();  // closes the output buffer, which flushes the stream
    if (!stream.good()) SepaRefuse(SepaFault::Stream, {}, _MsgSepaStream);
  }

 private:
  const SepaGroupTotals& Current() const { return groups[current]; }
  bool Complete() const {
    return count == Current().count && cents == Current().cents &&
           (!seals[current].asGiven || digest == seals[current].digest);
  }

  // Why the group is not complete: its figures, or payments other than the
  // planned ones with the planned figures.
  const char* Incomplete() const {
    return count == Current().count && cents == Current().cents ? _MsgSepaGroupPayments
                                                                : _MsgSepaGroupTotals;
  }

  void Check(int result) {
    if (result < 0) SepaRefuse(SepaFault::Stream, {}, _MsgSepaStream);
  }
  // Names are literals (constants or the schema's): data() ends in a NUL.
  void Start(std::string_view name) {
    Check(xmlTextWriterStartElement(writer.get(), BAD_CAST name.data()));
  }
  void End() { Check(xmlTextWriterEndElement(writer.get())); }
  void Element(std::string_view name, const std::string& text) {
    Check(xmlTextWriterWriteElement(writer.get(), BAD_CAST name.data(), BAD_CAST text.c_str()));
  }

  // The party, its account and its bank: the BIC, or where the schema wants
  // an agent anyway, NOTPROVIDED.
  void Account(const SepaPartyNames& names, const SepaCheckedAccount& account) {
    Start(names.party);
    Element("Nm", account.name);
    End();
    Start(names.account);
    Start("Id");
    Element("IBAN", account.iban);
    End();
    End();
    if (account.bic.empty() && !names.agentRequired) return;
    Start(names.agent);
    Start("FinInstnId");
    if (account.bic.empty()) {
      Start("Othr");
      Element("Id", "NOTPROVIDED");
      End();
    } else {
      Element(schema.bic, account.bic);
    }
    End();
    End();
  }

  void StartGroup() {
    const SepaGroupTotals& g = Current();
    Start("PmtInf");
    Element("PmtInfId", g.paymentInfoId);
    Element("PmtMtd", std::string(schema.method));
    if (settings.batchBooking) Element("BtchBookg", *settings.batchBooking ? "true" : "false");
    Element("NbOfTxs", std::to_string(g.count));
    Element("CtrlSum", Amount(g.cents));
    Start("PmtTpInf");
    Start("SvcLvl");
    Element("Cd", "SEPA");
    End();
    if (debits) {
      Start("LclInstrm");
      Element("Cd", settings.instrument == SepaInstrument::B2B ? "B2B" : "CORE");
      End();
      Element("SeqTp", SepaSequenceCode(g.group.sequence));
    }
    End();
    const std::string date = SepaIsoDate(g.group.date);
    if (schema.dateInner.empty()) {
      Element(schema.date, date);
    } else {
      Start(schema.date);
      Element(schema.dateInner, date);
      End();
    }
    Account(schema.own, checked.account);
    Element("ChrgBr", "SLEV");
    if (debits) {
      Start("CdtrSchmeId");
      Start("Id");
      Start("PrvtId");
      Start("Othr");
      Element("Id", checked.creditorId);
      Start("SchmeNm");
      Element("Prtry", "SEPA");
      End();
      End();
      End();
      End();
      End();
    }
  }

  // The parts of a transaction, into `body`. In a transaction the
  // counterparty's bank comes before the party.
  void BodyCounterparty(const SepaCheckedPayment& p) {
    const SepaPartyNames& names = schema.other;
    if (!p.bic.empty() || names.agentRequired) {
      body.Start(names.agent);
      body.Start("FinInstnId");
      if (p.bic.empty()) {
        body.Start("Othr");
        body.PlainElement("Id", "NOTPROVIDED");
        body.End();
      } else {
        body.PlainElement(schema.bic, p.bic);
      }
      body.End();
      body.End();
    }
    body.Start(names.party);
    body.Element("Nm", p.name);
    body.End();
    body.Start(names.account);
    body.Start("Id");
    body.PlainElement("IBAN", p.iban);
    body.End();
    body.End();
  }

  // Where every version's schema puts it: after the counterparty's account.
  void BodyPurpose(std::string_view code) {
    if (code.empty()) return;
    body.Start("Purp");
    body.PlainElement("Cd", code);
    body.End();
  }

  void BodyRemittance(std::string_view text) {
    if (text.empty()) return;
    body.Start("RmtInf");
    body.Element("Ustrd", text);
    body.End();
  }

  // What is there or not decides the elements of a transaction, so its shape.
  static std::size_t ShapeOf(const SepaCheckedPayment& p) {
    return (p.bic.empty() ? 0 : 1) | (p.purposeCode.empty() ? 0 : 2) |
           (p.remittance.empty() ? 0 : 4);
  }

  void BodyStart(const SepaCheckedPayment& p, std::int64_t amount) {
    body.Begin(ShapeOf(p), schema.transaction);
    body.Start("PmtId");
    body.PlainElement("EndToEndId", p.endToEndId);
    body.End();
    const bool outer = !schema.amountOuter.empty();
    if (outer) body.Start(schema.amountOuter);
    body.PlainElement("InstdAmt", Amount(amount), " Ccy=\"EUR\"");
    if (outer) body.End();
  }

  // The transaction as raw text inside PmtInf. Raw text leaves the writer
  // taking the line as begun, so that it would not indent PmtInf's end tag;
  // setting the indentation again tells it a line begins, as an end tag does.
  void WriteTransaction() {
    const std::string& text = body.Finished();
    Check(xmlTextWriterWriteRawLen(writer.get(), BAD_CAST text.data(),
                                   static_cast<int>(text.size())));
    Check(xmlTextWriterSetIndent(writer.get(), 1));
  }

  void WritePayment(const SepaPayment& payment, const SepaCheckedPayment& p) {
    BodyStart(p, payment.cents);
    if (debits) {
      body.Start("DrctDbtTx");
      body.Start("MndtRltdInf");
      body.PlainElement("MndtId", p.mandateId);
      body.PlainElement("DtOfSgntr", SepaIsoDate(*payment.mandateSigned));
      body.End();
      body.End();
    }
    BodyCounterparty(p);
    BodyPurpose(p.purposeCode);
    BodyRemittance(p.remittance);
    WriteTransaction();
  }

  struct FreeWriter {
    void operator()(xmlTextWriterPtr w) const { xmlFreeTextWriter(w); }
  };

  std::ostream& stream;
  const SepaSettings& settings;
  const SepaCheckedSettings checked;
  const std::vector<SepaGroupTotals> groups;
  const std::vector<SepaPlan::Seal> seals;
  const SepaSchema& schema;
  const bool debits;
  std::unique_ptr<xmlTextWriter, FreeWriter> writer;
  TransactionBody body;
  SepaPaymentRoom room;  // reused: its texts keep their storage from payment to payment
  std::size_t current = 0;
  std::size_t count = 0;
  std::int64_t cents = 0;
  std::uint64_t digest = 0;  // of the group's payments, when it was taken as given
  std::size_t written = 0;
  bool finished = false;
};

SepaWriter::SepaWriter(const SepaPlan& plan, std::ostream& out)
    : fState(std::make_unique<detail::SepaWriterState>(plan, out)) {}

SepaWriter::~SepaWriter() = default;

void SepaWriter::Add(const SepaPayment& payment) {
  fState->Add(payment);
}

void SepaWriter::Finish() {
  fState->Finish();
}

}  // namespace zor
