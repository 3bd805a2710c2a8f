#include <libxml/xmlwriter.h>

#include <algorithm>
#include <array>
#include <memory>
#include <new>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "sepa/SepaMessages.h"
#include "sepa/SepaParts.h"
#include "sepa/SepaSchema.h"
#include "sepa/SepaTransactionText.h"
#include "sepa/SepaValues.h"
#include "sepa/SepaXmlOutput.h"
#include "zordta/Sepa.h"
#include "zordta/host/SysUtils.h"

namespace zor {

namespace {

using namespace detail::msgsepa;

// Amounts and sums are never negative here.
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
    writer = OpenSepaXmlWriter(out);
    Check(xmlTextWriterSetIndent(writer.get(), 1));
    Check(xmlTextWriterSetIndentString(writer.get(), BAD_CAST "  "));
    Check(xmlTextWriterStartDocument(writer.get(), "1.0", "UTF-8", nullptr));
    Start("Document");
    Check(xmlTextWriterWriteAttribute(writer.get(), BAD_CAST "xmlns",
                                      BAD_CAST schema.nameSpace.data()));
    Start(schema.initiation);
    Start("GrpHdr");
    Element("MsgId", checked.messageId);
    Element("CreDtTm", SepaCreationTime(settings.creationTime));
    Element("NbOfTxs", std::to_string(plan.Count()));
    Element("CtrlSum", SepaAmountText(plan.Cents()));
    Start("InitgPty");
    Element("Nm", checked.initiatingParty);
    WriteSepaPartyId(sink, schema, checked.initiatingPartyId);
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
  // The settings of the block being written; the plan checked its index.
  const SepaCheckedBlock& Block() const { return checked.blocks[Current().group.blockSettings]; }
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

  // The parts the group header and the blocks share with transactions.
  struct XmlSink {
    SepaWriterState& state;
    void Start(std::string_view name) { state.Start(name); }
    void End() { state.End(); }
    void Element(std::string_view name, std::string_view text) {
      state.Element(name, std::string(text));
    }
  };

  // PmtTpInf, of a block or of each transaction.
  template <class Sink>
  void WritePaymentType(Sink& out, SepaSequence sequence, std::string_view category) {
    out.Start("PmtTpInf");
    out.Start("SvcLvl");
    out.Element("Cd", "SEPA");
    out.End();
    if (debits || Block().instant) {
      out.Start("LclInstrm");
      out.Element("Cd", !debits                                      ? "INST"
                        : settings.instrument == SepaInstrument::B2B ? "B2B"
                                                                     : "CORE");
      out.End();
    }
    if (debits) out.Element("SeqTp", SepaSequenceCode(sequence));
    if (!category.empty()) {
      out.Start("CtgyPurp");
      out.Element("Cd", category);
      out.End();
    }
    out.End();
  }

  // The party, its account and its bank: the BIC, or where the schema wants
  // an agent anyway, NOTPROVIDED.
  void Account(const SepaPartyNames& names, const SepaCheckedAccount& account) {
    Start(names.party);
    Element("Nm", account.name);
    WriteSepaAddress(sink, Block().parts.address);
    WriteSepaPartyId(sink, schema, Block().parts.id);
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
    const SepaCheckedBlock& block = Block();
    typePerTransaction = !debits && block.paymentTypePerTransaction;
    if (block.batchBooking) Element("BtchBookg", *block.batchBooking ? "true" : "false");
    Element("NbOfTxs", std::to_string(g.count));
    Element("CtrlSum", SepaAmountText(g.cents));
    if (!typePerTransaction) WritePaymentType(sink, g.group.sequence, block.parts.categoryPurpose);
    const std::string date = SepaIsoDate(g.group.date);
    if (schema.dateInner.empty()) {
      Element(schema.date, date);
    } else {
      Start(schema.date);
      Element(schema.dateInner, date);
      End();
    }
    Account(schema.own, block.account);
    WriteSepaParty(sink, schema, debits ? "UltmtCdtr" : "UltmtDbtr", block.parts.ultimateParty);
    Element("ChrgBr", "SLEV");
    if (debits && !block.creditorId.empty()) {
      Start("CdtrSchmeId");
      WriteSepaCreditorScheme(sink, block.creditorId);
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
    if (p.extras != nullptr) {
      WriteSepaAddress(body, p.extras->address);
      WriteSepaPartyId(body, schema, p.extras->id);
    }
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

  void BodyRemittance(const SepaCheckedPayment& p) {
    if (p.extras != nullptr && !p.extras->reference.reference.empty()) {
      const SepaCreditorReference& r = p.extras->reference;
      body.Start("RmtInf");
      body.Start("Strd");
      body.Start("CdtrRefInf");
      body.Start("Tp");
      body.Start("CdOrPrtry");
      body.Element("Cd", "SCOR");
      body.End();
      if (!r.issuer.empty()) body.Element("Issr", r.issuer);
      body.End();
      body.Element("Ref", r.reference);
      body.End();
      body.End();
      body.End();
      return;
    }
    if (p.remittance.empty()) return;
    body.Start("RmtInf");
    body.Element("Ustrd", p.remittance);
    body.End();
  }

  // The ultimate party of the own side stands before the counterparty's bank,
  // that of the counterparty after its account.
  void BodyUltimate(const SepaCheckedPayment& p, bool own) {
    if (p.extras == nullptr) return;
    const bool debtor = own != debits;
    WriteSepaParty(body, schema, debtor ? "UltmtDbtr" : "UltmtCdtr",
                   debtor ? p.extras->ultimateDebtor : p.extras->ultimateCreditor);
  }

  void BodyAmendment(const SepaMandateAmendment& a) {
    body.Element("AmdmntInd", a.amended ? "true" : "false");
    if (!a.amended) return;
    body.Start("AmdmntInfDtls");
    if (!a.originalMandateId.empty()) body.Element("OrgnlMndtId", a.originalMandateId);
    if (!a.originalCreditorName.empty() || !a.originalCreditorId.empty()) {
      body.Start("OrgnlCdtrSchmeId");
      if (!a.originalCreditorName.empty()) body.Element("Nm", a.originalCreditorName);
      if (!a.originalCreditorId.empty()) WriteSepaCreditorScheme(body, a.originalCreditorId);
      body.End();
    }
    const bool smndaInAccount = a.newDebtorAgent && schema.smndaInAccount;
    if (!a.originalDebtorIban.empty() || smndaInAccount) {
      body.Start("OrgnlDbtrAcct");
      body.Start("Id");
      if (smndaInAccount) {
        body.Start("Othr");
        body.Element("Id", "SMNDA");
        body.End();
      } else {
        body.Element("IBAN", a.originalDebtorIban);
      }
      body.End();
      body.End();
    }
    if (a.newDebtorAgent && !schema.smndaInAccount) {
      body.Start("OrgnlDbtrAgt");
      body.Start("FinInstnId");
      body.Start("Othr");
      body.Element("Id", "SMNDA");
      body.End();
      body.End();
      body.End();
    }
    body.End();
  }

  // What is there or not decides the elements of a transaction, so its shape.
  std::size_t ShapeOf(const SepaCheckedPayment& p) const {
    if (p.extras != nullptr || typePerTransaction) return TransactionBody::kUnshaped;
    return (p.bic.empty() ? 0 : 1) | (p.purposeCode.empty() ? 0 : 2) |
           (p.remittance.empty() ? 0 : 4);
  }

  void BodyStart(const SepaCheckedPayment& p, std::int64_t amount) {
    body.Begin(ShapeOf(p), schema.transaction);
    body.Start("PmtId");
    if (p.extras != nullptr && !p.extras->instructionId.empty()) {
      body.Element("InstrId", p.extras->instructionId);
    }
    body.PlainElement("EndToEndId", p.endToEndId);
    if (p.extras != nullptr && !p.extras->uetr.empty()) body.Element("UETR", p.extras->uetr);
    body.End();
    if (typePerTransaction) {
      const bool own = p.extras != nullptr && !p.extras->categoryPurpose.empty();
      WritePaymentType(body, SepaSequence::OneOff,
                       own ? p.extras->categoryPurpose : Block().parts.categoryPurpose);
    }
    const bool outer = !schema.amountOuter.empty();
    if (outer) body.Start(schema.amountOuter);
    body.PlainElement("InstdAmt", SepaAmountText(amount), " Ccy=\"EUR\"");
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
      if (p.extras != nullptr && p.extras->amendment) BodyAmendment(*p.extras->amendment);
      body.End();
      if (p.extras != nullptr && !p.extras->creditorId.empty()) {
        body.Start("CdtrSchmeId");
        WriteSepaCreditorScheme(body, p.extras->creditorId);
        body.End();
      }
      body.End();
    }
    BodyUltimate(p, true);
    BodyCounterparty(p);
    BodyUltimate(p, false);
    BodyPurpose(p.purposeCode);
    BodyRemittance(p);
    WriteTransaction();
  }

  std::ostream& stream;
  const SepaSettings& settings;
  const SepaCheckedSettings checked;
  const std::vector<SepaGroupTotals> groups;
  const std::vector<SepaPlan::Seal> seals;
  const SepaSchema& schema;
  const bool debits;
  bool typePerTransaction = false;  // of the block being written
  SepaXmlWriter writer;
  XmlSink sink{*this};
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
