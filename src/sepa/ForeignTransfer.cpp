// The plan and the writer of foreign transfers. The writer checks every
// transfer again as it writes it, as a transfer written unchecked could carry
// what the plan refused, and makes each transfer's text itself.
#include "zordta/ForeignTransfer.h"

#include <libxml/xmlwriter.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <utility>

#include "core/MessageFill.h"
#include "sepa/ForeignChecks.h"
#include "sepa/SepaMessages.h"
#include "sepa/SepaParts.h"
#include "sepa/SepaTransactionText.h"
#include "sepa/SepaValues.h"
#include "sepa/SepaXmlOutput.h"
#include "zordta/host/SysUtils.h"

namespace zor {

namespace {

using namespace detail::msgsepa;

constexpr std::size_t kWarningsKept = 100;

// "<message id>-<n>", the message id shortened so that it stays within 35.
std::string PaymentInfoId(const std::string& messageId, std::size_t number) {
  const std::string suffix = "-" + std::to_string(number);
  return messageId.substr(0, 35 - suffix.size()) + suffix;
}

// One transfer, its start and end tag included, made as text and handed to
// libxml2's text writer in one piece: element by element through the writer,
// its bookkeeping per element cost most of the time of a large document. The
// bytes are those the writer makes: one element a line, indented two blanks a
// level, text escaped by the function its text writer uses.
class TransferText {
 public:
  // Document, the initiation and PmtInf are open around a transfer.
  static constexpr std::size_t kDepth = 3;

  void Begin() {
    text.clear();
    depth = kDepth;
  }
  void Start(std::string_view name) {
    Indent();
    text += '<';
    text += name;
    text += ">\n";
    open[depth++ - kDepth] = name;
  }
  void End() {
    --depth;
    Indent();
    text += "</";
    text += open[depth - kDepth];
    text += ">\n";
  }
  // `attribute` is written as it stands.
  void Element(std::string_view name, std::string_view content, std::string_view attribute = {}) {
    Indent();
    text += '<';
    text += name;
    text += attribute;
    text += '>';
    detail::AppendXmlEscaped(text, content);
    text += "</";
    text += name;
    text += ">\n";
  }
  const std::string& Text() const { return text; }

 private:
  void Indent() { text.append(2 * depth, ' '); }
  std::string text;  // reused: keeps its storage from transfer to transfer
  std::size_t depth = kDepth;
  std::string_view open[16];  // names of the open elements from the transfer on
};

}  // namespace

const char* ForeignInstructionCode(ForeignCreditorInstruction instruction) noexcept {
  switch (instruction) {
    case ForeignCreditorInstruction::PayByCheque:
      return "CHQB";
    case ForeignCreditorInstruction::HoldForCollection:
      return "HOLD";
    case ForeignCreditorInstruction::PhoneBeneficiary:
      return "PHOB";
    case ForeignCreditorInstruction::TelecomBeneficiary:
      return "TELB";
  }
  return "";
}

const char* ForeignChargeBearerCode(ForeignChargeBearer bearer) noexcept {
  switch (bearer) {
    case ForeignChargeBearer::Shared:
      return "SHAR";
    case ForeignChargeBearer::Debtor:
      return "DEBT";
    case ForeignChargeBearer::Creditor:
      return "CRED";
  }
  return "";
}

ForeignTransferPlan::ForeignTransferPlan(ForeignTransferSettings settings)
    : fSettings(std::move(settings)) {
  const detail::SepaWarn warn = [this](SepaWarning w) {
    if (fWarnings.size() < kWarningsKept) fWarnings.push_back(std::move(w));
    ++fWarningCount;
  };
  fSettings.messageId = detail::CheckForeignSettings(fSettings, warn).messageId;
}

void ForeignTransferPlan::Add(const ForeignTransfer& t) {
  const detail::SepaWarn warn = [this](SepaWarning w) {
    if (fWarnings.size() < kWarningsKept) fWarnings.push_back(std::move(w));
    ++fWarningCount;
  };
  detail::CheckForeignTransfer(fSettings, t, fCount + 1, warn);
  if (fAmounts > detail::kSepaMaxSum - t.amount) {
    detail::SepaRefuse(SepaFault::Amount, {fCount + 1, "CtrlSum"}, _MsgSepaSumTooLarge);
  }
  auto at = std::lower_bound(fGroups.begin(), fGroups.end(), t.date,
                             [](const ForeignGroupTotals& g, const auto& d) { return g.date < d; });
  if (at == fGroups.end() || at->date != t.date) {
    at = fGroups.insert(at, {t.date, {}, 0, 0});
    // The ids number the blocks in their order, which a new one changes.
    for (std::size_t i = 0; i < fGroups.size(); ++i) {
      fGroups[i].paymentInfoId = PaymentInfoId(fSettings.messageId, i + 1);
    }
  }
  ++at->count;
  at->amounts += t.amount;
  ++fCount;
  fAmounts += t.amount;
}

class detail::ForeignWriterState {
 public:
  ForeignWriterState(const ForeignTransferPlan& plan, std::ostream& out)
      : stream(out),
        settings(plan.Settings()),
        checked(CheckForeignSettings(settings, {})),
        groups(plan.Groups()) {
    if (groups.empty()) SepaRefuse(SepaFault::Totals, {}, _MsgSepaNoPayments);
    writer = detail::OpenSepaXmlWriter(out);
    Check(xmlTextWriterSetIndent(writer.get(), 1));
    Check(xmlTextWriterSetIndentString(writer.get(), BAD_CAST "  "));
    Check(xmlTextWriterStartDocument(writer.get(), "1.0", "UTF-8", nullptr));
    Start("Document");
    Check(xmlTextWriterWriteAttribute(writer.get(), BAD_CAST "xmlns",
                                      BAD_CAST "urn:iso:std:iso:20022:tech:xsd:pain.001.001.09"));
    Start("CstmrCdtTrfInitn");
    Start("GrpHdr");
    Element("MsgId", checked.messageId);
    Element("CreDtTm", detail::SepaCreationTime(settings.creationTime));
    Element("NbOfTxs", std::to_string(plan.Count()));
    Element("CtrlSum", detail::SepaAmountText(plan.Amounts()));
    Start("InitgPty");
    Element("Nm", checked.initiatingParty);
    End();
    End();
    StartGroup();
  }

  void Add(const ForeignTransfer& t) {
    if (finished) SepaRefuse(SepaFault::Group, {}, _MsgSepaFinished);
    const std::size_t ordinal = ++written;
    if (t.date != Current().date) {
      if (!Complete() || current + 1 == groups.size() || t.date != groups[current + 1].date) {
        SepaRefuse(SepaFault::Group, {ordinal, {}},
                   Fill(_MsgSepaWrongGroup, {SepaIsoDate(Current().date)}));
      }
      End();  // PmtInf
      ++current;
      count = 0;
      amounts = 0;
      StartGroup();
    }
    if (count == Current().count) {
      SepaRefuse(SepaFault::Totals, {ordinal, {}},
                 Fill(_MsgSepaGroupCount, {SepaIsoDate(Current().date)}));
    }
    CheckForeignTransfer(settings, t, ordinal, {}, room);
    const ForeignCheckedTransfer& c = room;
    ++count;
    amounts += t.amount;
    if (count == Current().count && !Complete()) {
      SepaRefuse(SepaFault::Totals, {ordinal, {}},
                 Fill(_MsgSepaGroupTotals, {SepaIsoDate(Current().date)}));
    }
    WriteTransfer(t, c);
  }

  void Finish() {
    if (finished) SepaRefuse(SepaFault::Group, {}, _MsgSepaFinished);
    if (current + 1 != groups.size() || !Complete()) {
      SepaRefuse(SepaFault::Totals, {}, Fill(_MsgSepaGroupTotals, {SepaIsoDate(Current().date)}));
    }
    Check(xmlTextWriterEndDocument(writer.get()));  // closes every open element
    Check(xmlTextWriterFlush(writer.get()));
    finished = true;
    writer.reset();  // closes the output buffer, which flushes the stream
    if (!stream.good()) SepaRefuse(SepaFault::Stream, {}, _MsgSepaStream);
  }

  // The element writer the address and party parts of SEPA documents use.
  void Start(std::string_view name) {
    Check(xmlTextWriterStartElement(writer.get(), BAD_CAST std::string(name).c_str()));
  }
  void End() { Check(xmlTextWriterEndElement(writer.get())); }
  void Element(std::string_view name, std::string_view text) {
    Check(xmlTextWriterWriteElement(writer.get(), BAD_CAST std::string(name).c_str(),
                                    BAD_CAST std::string(text).c_str()));
  }

 private:
  const ForeignGroupTotals& Current() const { return groups[current]; }
  bool Complete() const { return count == Current().count && amounts == Current().amounts; }

  void Check(int result) {
    if (result < 0) SepaRefuse(SepaFault::Stream, {}, _MsgSepaStream);
  }
  void StartGroup() {
    const ForeignGroupTotals& g = Current();
    Start("PmtInf");
    Element("PmtInfId", g.paymentInfoId);
    Element("PmtMtd", "TRF");
    Element("NbOfTxs", std::to_string(g.count));
    Element("CtrlSum", detail::SepaAmountText(g.amounts));
    Start("ReqdExctnDt");
    Element("Dt", SepaIsoDate(g.date));
    End();
    Start("Dbtr");
    Element("Nm", checked.debtorName);
    WriteSepaAddress(*this, checked.debtorAddress);
    End();
    Start("DbtrAcct");
    Start("Id");
    Element("IBAN", checked.debtorIban);
    End();
    if (!settings.debtorAccountCurrency.empty()) Element("Ccy", settings.debtorAccountCurrency);
    End();
    Start("DbtrAgt");
    Start("FinInstnId");
    if (checked.debtorBic.empty()) {
      Start("Othr");
      Element("Id", "NOTPROVIDED");
      End();
    } else {
      Element("BICFI", checked.debtorBic);
    }
    End();
    End();
  }

  // The checks took the currency only as three capitals: nothing to escape.
  void Money(std::string_view name, std::int64_t hundredths, const std::string& currency) {
    currencyAttribute = " Ccy=\"";
    currencyAttribute += currency;
    currencyAttribute += '"';
    body.Element(name, detail::SepaAmountText(hundredths), currencyAttribute);
  }

  void PaymentType(const ForeignTransfer& t, const ForeignCheckedTransfer& c) {
    if (t.serviceLevel.empty() && c.localInstrument.empty() && t.categoryPurpose.empty()) return;
    body.Start("PmtTpInf");
    if (!t.serviceLevel.empty()) {
      body.Start("SvcLvl");
      body.Element("Cd", t.serviceLevel);
      body.End();
    }
    if (!c.localInstrument.empty()) {
      body.Start("LclInstrm");
      body.Element("Prtry", c.localInstrument);
      body.End();
    }
    if (!t.categoryPurpose.empty()) {
      body.Start("CtgyPurp");
      body.Element("Cd", t.categoryPurpose);
      body.End();
    }
    body.End();
  }

  void Amounts(const ForeignTransfer& t) {
    body.Start("Amt");
    if (t.currencyOfTransfer.empty()) {
      Money("InstdAmt", t.amount, t.currency);
    } else {
      body.Start("EqvtAmt");
      Money("Amt", t.amount, t.currency);
      body.Element("CcyOfTrf", t.currencyOfTransfer);
      body.End();
    }
    body.End();
  }

  void Counterparty(const ForeignTransfer& t, const ForeignCheckedTransfer& c) {
    body.Start("CdtrAgt");
    body.Start("FinInstnId");
    if (!t.agentBic.empty()) {
      body.Element("BICFI", t.agentBic);
    } else {
      body.Element("Nm", c.agentName);
      WriteSepaAddress(body, c.agentAddress);
    }
    body.End();
    body.End();
    body.Start("Cdtr");
    body.Element("Nm", c.creditorName);
    WriteSepaAddress(body, c.creditorAddress);
    body.End();
    body.Start("CdtrAcct");
    body.Start("Id");
    if (!t.creditorIban.empty()) {
      body.Element("IBAN", t.creditorIban);
    } else {
      body.Start("Othr");
      body.Element("Id", t.creditorAccount);
      body.End();
    }
    body.End();
    body.End();
  }

  void Instructions(const ForeignTransfer& t, const ForeignCheckedTransfer& c) {
    bool informed = c.creditorAgentInformation.empty();
    for (const ForeignCreditorInstruction i : t.creditorAgentInstructions) {
      body.Start("InstrForCdtrAgt");
      body.Element("Cd", ForeignInstructionCode(i));
      if (!informed) body.Element("InstrInf", c.creditorAgentInformation);
      informed = true;
      body.End();
    }
    if (!informed) {
      body.Start("InstrForCdtrAgt");
      body.Element("InstrInf", c.creditorAgentInformation);
      body.End();
    }
    if (!c.debtorAgentInstruction.empty()) {
      body.Element("InstrForDbtrAgt", c.debtorAgentInstruction);
    }
  }

  // The debtor reports its payment (DEBT) to its own authority.
  void Reports(const ForeignCheckedTransfer& c) {
    for (const ForeignReport& r : c.reports) {
      body.Start("RgltryRptg");
      body.Element("DbtCdtRptgInd", "DEBT");
      body.Start("Authrty");
      body.Element("Nm", settings.authority.name);
      body.Element("Ctry", settings.authority.country);
      body.End();
      body.Start("Dtls");
      if (!r.type.empty()) body.Element("Tp", r.type);
      if (!r.code.empty()) body.Element("Cd", r.code);
      for (const std::string& line : r.information) body.Element("Inf", line);
      body.End();
      body.End();
    }
  }

  // The transfer as raw text inside PmtInf. Raw text leaves the writer
  // taking the line as begun, so that it would not indent PmtInf's end tag;
  // setting the indentation again tells it a line begins, as an end tag does.
  void WriteTransfer(const ForeignTransfer& t, const ForeignCheckedTransfer& c) {
    body.Begin();
    body.Start("CdtTrfTxInf");
    body.Start("PmtId");
    if (!c.instructionId.empty()) body.Element("InstrId", c.instructionId);
    body.Element("EndToEndId", c.endToEndId);
    body.End();
    PaymentType(t, c);
    Amounts(t);
    body.Element("ChrgBr", ForeignChargeBearerCode(t.chargeBearer));
    Counterparty(t, c);
    Instructions(t, c);
    Reports(c);
    if (!c.remittance.empty()) {
      body.Start("RmtInf");
      body.Element("Ustrd", c.remittance);
      body.End();
    }
    body.End();
    const std::string& text = body.Text();
    Check(xmlTextWriterWriteRawLen(writer.get(), BAD_CAST text.data(),
                                   static_cast<int>(text.size())));
    Check(xmlTextWriterSetIndent(writer.get(), 1));
  }

  std::ostream& stream;
  const ForeignTransferSettings& settings;
  const ForeignCheckedSettings checked;
  const std::vector<ForeignGroupTotals> groups;
  detail::SepaXmlWriter writer;
  TransferText body;
  std::string currencyAttribute;  // reused, as the body's text is
  ForeignCheckedTransfer room;    // reused: checking a transfer allocates little
  std::size_t current = 0;
  std::size_t count = 0;
  std::int64_t amounts = 0;
  std::size_t written = 0;
  bool finished = false;
};

ForeignTransferWriter::ForeignTransferWriter(const ForeignTransferPlan& plan, std::ostream& out)
    : fState(std::make_unique<detail::ForeignWriterState>(plan, out)) {}

ForeignTransferWriter::~ForeignTransferWriter() = default;

void ForeignTransferWriter::Add(const ForeignTransfer& transfer) {
  fState->Add(transfer);
}

void ForeignTransferWriter::Finish() {
  fState->Finish();
}

}  // namespace zor
