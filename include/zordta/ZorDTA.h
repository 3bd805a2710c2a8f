// The unit ZorDTA: the base of both payment-file writers and the DTAUS component.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string_view>

#include "zordta/ByteSink.h"
#include "zordta/DtausWriter.h"
#include "zordta/host/Classes.h"
#include "zordta/host/Exception.h"
#include "zordta/host/SysUtils.h"
#include "zordta/host/Types.h"

namespace zor {

class TRegIniFile;
namespace detail {
class RunBuffer;
class DTAUSImporter;
}  // namespace detail

/// State of an output run.
enum TDTAState {
  stReady,    ///< no run open
  stStarted,  ///< a run is open, no payment offered yet
  stBooking   ///< a run is open and at least one payment was offered
};

/// Reports one payment of an imported DTAUS file.
using TImportEvent = std::function<void(
    const AnsiString& Name, std::int64_t Konto, std::int64_t BLZ, double Betrag, TStrings& Vwz,
    bool Abbuchungsauftrag, const AnsiString& CustomZahlungsschluessel)>;

/// Reports one payment of an imported DTAUS file with the client's data of its record.
using TExtendedImportEvent = std::function<void(
    const AnsiString& pEmpfaenger, const std::int64_t& pEmpfaengerKontonummer,
    const std::int64_t& pEmpfaengerBankleitzahl, const double& pBetrag,
    const AnsiString& pAuftraggeber, const std::int64_t& pAuftraggeberKontonummer,
    const std::int64_t& pAuftraggeberBankleitzahl, TStrings& pVerwendungszwecke,
    const bool& pAbbuchungsauftrag, const AnsiString& pCustomZahlungsschluessel)>;

/// Common base of the payment-file writers: the client's data, the output run with
/// its buffer and file, and the one reporting policy (exceptions, or message boxes
/// with ShowWarnings). Not used by itself.
class ZORDTA_API TZorBaseDTA : public TComponent {
 public:
  explicit TZorBaseDTA(TComponent* aOwner);
  ~TZorBaseDTA() override;

  String ClassName() const override;

  // Published properties.
  const AnsiString& AuftraggeberName() const { return fAuftraggeberName; }
  void SetAuftraggeberName(const AnsiString& value) { fAuftraggeberName = value; }
  std::int32_t AuftraggeberBLZ() const { return fAuftraggeberBLZ; }
  void SetAuftraggeberBLZ(std::int32_t value) { fAuftraggeberBLZ = value; }
  std::int64_t AuftraggeberKontoNr() const { return fAuftraggeberKontoNr; }
  void SetAuftraggeberKontoNr(std::int64_t value) { fAuftraggeberKontoNr = value; }
  /// Execution date; 0 means none.
  TDate Ausfuehrungsdatum() const { return fAusfuehrungsdatum; }
  void SetAusfuehrungsdatum(TDate value) { fAusfuehrungsdatum = value; }
  std::uint32_t AnzahlBegleitzettel() const { return fAnzahlBegleitzettel; }
  void SetAnzahlBegleitzettel(std::uint32_t value) { fAnzahlBegleitzettel = value; }
  /// Output folder; once set, it ends with the path delimiter.
  const TFileName& Path() const { return fPath; }
  /// Ignores the empty text; appends the path delimiter when it is missing.
  void SetPath(const TFileName& value);
  bool ShowWarnings() const { return fShowWarnings; }
  void SetShowWarnings(bool value) { fShowWarnings = value; }
  /// Class name followed by " V4.1.2".
  String Version() const { return GetVersion(); }
  /// Ignored: the version cannot be changed.
  void SetVersion(const String& value);
  bool ValidateData() const { return FValidateData; }
  void SetValidateData(bool value) { FValidateData = value; }

  // Public properties.
  std::int32_t AnzahlBuchungen() const { return fAnzahlBuchungen; }
  const TFileName& DTAFilename() const { return fDTAFilename; }
  void SetDTAFilename(const TFileName& value) { fDTAFilename = value; }
  /// The bytes of the current or last run.
  AnsiString DTAFileContent() const { return GetContent(); }
  TDTAState State() const { return fState; }

  /// Opens an output run. Reports _MsgStarted while a run is open.
  void Start();
  /// Writes Path + DTAFilename and closes the run. Reports _MsgReady without an open
  /// run; raises Exception when the file cannot be written (the run stays open).
  void Finish();

  /// Bank code range check: 10000000 to 99999999.
  bool ValidateBLZ(std::int64_t aBLZ);
  /// Account range check: 10 to 9999999999.
  bool ValidateKontoDE(std::int64_t aKonto);

  /// Accepted and ignored: the component has no visual extent.
  void SetBounds(std::int32_t ALeft, std::int32_t ATop, std::int32_t AWidth, std::int32_t AHeight);

 protected:
  /// Reports a failed check: Exception, or a message box "Fehler" with ShowWarnings.
  void Error(const String& text);
  /// Reports an automatic correction: a message box "Warnung" with ShowWarnings.
  void Warning(const String& text);
  void WriteString(std::string_view s);
  /// Kept for derived components, which read their own fields while an import
  /// has DTAFile open; the importers here read through their own field reader.
  AnsiString ReadString(std::int32_t count);
  static AnsiString Spc(std::uint32_t count);
  static AnsiString AnsiFormat(std::string_view format, FormatArgs args);
  /// Kept for derived components: a named operation of the base component that
  /// the writers here do not need.
  static AnsiString AnsiFormatDateTime(std::string_view format, TDateTime date);
  String GetVolumeLabel(const String& path) const;
  AnsiString GetContent() const;
  String GetVersion() const;

  /// True while a run is open whose header record was written; reports
  /// _MsgStartFirst otherwise. Every Buchung asks this first.
  bool CheckRunOpenForBooking();
  /// Marks the open run as holding its header record.
  void MarkHeaderWritten() { fHeaderWritten = true; }
  /// Closes the run with its trailer record and writes the file; true when a
  /// file was finished and its cover sheet is due. Without an open run it
  /// reports _MsgReady; a run that never got its header closes without a file.
  /// When the file cannot be written, the trailer is taken back out of the
  /// buffer and the run stays open, so a retry writes exactly one trailer.
  bool FinishWithTrailer(const std::function<void()>& writeTrailer);

  /// The file being imported, for ReadString.
  TStream* DTAFile = nullptr;
  /// Kept for derived components: the last ReadString, as the base component
  /// names it.
  AnsiString DTABuffer;
  TDTAState fState = stReady;
  bool FValidateData = true;
  AnsiString fAuftraggeberName;
  std::int32_t fAuftraggeberBLZ = 0;
  std::int64_t fAuftraggeberKontoNr = 0;
  TDate fAusfuehrungsdatum = 0;
  std::int32_t fAnzahlBuchungen = 0;
  /// The bytes of the open run, or of the last one.
  std::unique_ptr<detail::RunBuffer> fStream;
  TFileName fPath;
  std::uint32_t fAnzahlBegleitzettel = 0;
  String fVolumeLabel;
  bool fShowWarnings = false;
  TFileName fDTAFilename;

 private:
  bool fHeaderWritten = false;
};

/// Writes DTAUS files (domestic credit transfers or direct debits) and reads them back.
class ZORDTA_API TZorDTA : public TZorBaseDTA {
 public:
  explicit TZorDTA(TComponent* aOwner);
  ~TZorDTA() override;

  String ClassName() const override;

  // Published properties.
  bool Lastschriften() const { return fLastschriften; }
  /// false also clears Abbuchungsauftrag.
  void SetLastschriften(bool value);
  bool Abbuchungsauftrag() const { return fAbbuchungsauftrag; }
  /// true also sets Lastschriften.
  void SetAbbuchungsauftrag(bool value);
  /// Number the diskettes through the registry value "Nummer".
  bool Zentralbank() const { return fZentralbank; }
  void SetZentralbank(bool value) { fZentralbank = value; }
  /// Off (the default), Buchung drops blank purpose lines. On, each keeps its
  /// place as a blank purpose extension, so that a file read back with its
  /// blank lines is written again byte for byte.
  bool LeerzeilenBehalten() const { return fLeerzeilenBehalten; }
  void SetLeerzeilenBehalten(bool value) { fLeerzeilenBehalten = value; }
  const TImportEvent& OnDTAImport() const { return fOnDTAImport; }
  void SetOnDTAImport(TImportEvent handler) { fOnDTAImport = std::move(handler); }
  const TExtendedImportEvent& OnExtendedDTAImport() const { return FOnExtendedDTAImport; }
  void SetOnExtendedDTAImport(TExtendedImportEvent handler) {
    FOnExtendedDTAImport = std::move(handler);
  }

  // Public properties.
  const AnsiString& Zahlungsschluessel() const { return fZahlungsschluessel; }
  /// Stores the key trimmed when it has 5 characters, otherwise the empty text.
  void SetZahlungsschluessel(const AnsiString& value);
  /// Sum of the amounts of the run, in euro, each taken to the cent.
  double SummeBetrag() const { return static_cast<double>(fSummeBetragCent) / 100.0; }
  /// The same sum as an exact count of cents.
  std::int64_t SummeBetragCent() const { return fSummeBetragCent; }
  TDate DiskettenErstellDatum() const { return fDiskettenErstellDatum; }
  /// Fixes the file date: later runs no longer take today's date.
  void setDiskettenErstellDatum(TDate value);
  std::int64_t SummeKontonummer() const { return fSummeKontonummer; }
  std::int64_t SummeBLZ() const { return fSummeBLZ; }
  /// The cover sheet as text: lines joined by CR LF, none after the last.
  String Begleitzettel() const { return GetBegleitzettel(); }

  /// Opens a run and writes the A record.
  void Start();
  /// Books one payment with a list of purpose lines; the list is changed in place.
  void Buchung(const AnsiString& Name, std::int64_t Konto, std::int64_t BLZ, double Betrag,
               TStrings& Vwz);
  /// Books one payment with up to three purpose texts (empty Vwz2, Vwz3 are left out).
  void Buchung(const AnsiString& Name, std::int64_t Konto, std::int64_t BLZ, double Betrag,
               const AnsiString& Vwz1, const AnsiString& Vwz2, const AnsiString& Vwz3);
  /// Writes the E record, then the file; the run stays open when the file cannot be written.
  void Finish();
  /// Gives back the diskette number the last Start took from the counter, for a file that
  /// will never reach the bank: the counter steps back when it still stands at that number
  /// (no other run took one since). Answers whether it stepped back.
  bool GiveBackDiskettenNummer();

  /// Where the records of the runs started from now on go, as they are written;
  /// nullptr (the default): into the component's buffer, which Finish writes to
  /// the file. With a sink, Finish writes the E record there and no file, and
  /// DTAFileContent stays empty: the caller owns the bytes and keeps the sink
  /// alive until the run is finished or the component is gone.
  void SetRecordSink(ByteSink* sink) { fRecordSink = sink; }
  ByteSink* RecordSink() const { return fRecordSink; }

  /// Valid when not empty.
  bool ValidateName(const AnsiString& aName);
  /// Valid from 1 to below 1000000000 euro.
  bool ValidateBetrag(double aBetrag);
  /// Valid with at most 14 lines.
  bool ValidateVwzCount(const TStrings& Vwz);

  /// Reduces text to the DTAUS repertoire of this component's file kind.
  AnsiString RemoveInvalidChars(const AnsiString& str) const;
  /// Turns text read from a DTAUS record back into capitals with Ä, Ö, Ü and ß.
  static AnsiString DecodeChars(const AnsiString& str);

  /// Reads a DTAUS file: the A record's client data into the properties, every
  /// C record through OnDTAImport, then OnExtendedDTAImport. The file is opened
  /// exclusively; a file another process holds is reported, not read.
  void ImportDTA(const TFileName& FileName);
  /// Reads the bytes of a DTAUS file from 8-bit text, as ImportDTA does.
  void ImportFromString(const AnsiString& content);

 private:
  void WriteDatensatzA();
  // What the checks of a payment found; a failed one has reported already.
  struct PaymentChecks {
    bool blzValid = true;
    bool kontoValid = true;
    bool betragValid = true;
    bool countValid = true;
  };
  PaymentChecks CheckPayment(const AnsiString& Name, std::int64_t Konto, std::int64_t BLZ,
                             double Betrag);
  // Refuses a value its field cannot hold, else counts the payment into the run.
  // `booking` has its numbers and as many purpose lines as are booked.
  bool AcceptPayment(const PaymentChecks& checks, const DtausWriter::Booking& booking);
  // The booking as the writer takes it, its amount in cents (-1: none that fits).
  DtausWriter::Booking BookingOf(const AnsiString& Name, std::int64_t Konto, std::int64_t BLZ,
                                 double Betrag) const;
  // The three-text booking through the list overload, for texts only it prepares.
  void BuchungThroughList(const AnsiString& Name, std::int64_t Konto, std::int64_t BLZ,
                          double Betrag, std::array<const AnsiString*, 3> texts);
  // lines: 1 to 19, already in the repertoire.
  void WriteDatensatzC(DtausWriter::Booking booking, std::span<const std::string_view> lines);
  void WriteDatensatzE();
  // The count and sums of the run's writer into the published fields.
  void TakeFigures();
  String GetBegleitzettel() const;
  void PrintBegleitzettel();
  bool IsFirstFileKind() const;

  // Reads the records and reports them through this component's events and messages.
  friend class detail::DTAUSImporter;
  TDate DecodeDTADate(const AnsiString& data);
  static AnsiString DeleteLeadingChar(const AnsiString& S, char C);

  std::unique_ptr<TRegIniFile> fIniFile;
  // The diskette number the last Start took, until it is given back.
  std::optional<std::int32_t> fTakenDiskettenNummer;
  bool fLastschriften = false;
  bool fAbbuchungsauftrag = false;
  bool fZentralbank = false;
  bool fLeerzeilenBehalten = false;
  std::int64_t fSummeBLZ = 0;
  std::int64_t fSummeKontonummer = 0;
  std::int64_t fSummeBetragCent = 0;  // cents, not euros: the control sum must be exact
  AnsiString fZahlungsschluessel;
  TImportEvent fOnDTAImport;
  TExtendedImportEvent FOnExtendedDTAImport;
  TDate fDiskettenErstellDatum = 0;
  bool FAutoDiskettenErstellDatum = true;
  // Kept from booking to booking, so that cleaning purpose lines reuses their storage.
  std::vector<AnsiString> fCleanedLines;
  AnsiString fLineBytes;
  String fLineText;
  // The list the three-line Buchung fills and books; its lines keep their storage too.
  TStringList fTextLines;
  // The run's records: into the buffer, or into the record sink.
  std::optional<DtausWriter> fWriter;
  ByteSink* fRecordSink = nullptr;
};

}  // namespace zor

namespace zor::ZorDTA {
/// Puts TZorDTA on the palette page "ZOR Software"; the design environment calls it
/// when it installs the package. Raises Exception when TZorDTA is registered already.
ZORDTA_API void Register();
}  // namespace zor::ZorDTA
