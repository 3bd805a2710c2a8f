// The messages about payments given as rows and job records: columns, settings,
// the fields of a payment and the limits of the file it goes into.
#pragma once

namespace zor {

// Values of every kind.
inline constexpr const char* _MsgRowNotADate = "„{}“ ist kein Datum (JJJJ-MM-TT oder TT.MM.JJJJ).";
inline constexpr const char* _MsgRowPastDate = "Das Datum {} liegt vor heute.";
inline constexpr const char* _MsgRowNotANumber = "„{}“ ist keine Zahl von 0 bis {}.";
inline constexpr const char* _MsgRowNotAFlag = "„{}“ ist weder true noch false.";
inline constexpr const char* _MsgRowNotOneOf = "„{}“ ist nicht {}.";
inline constexpr const char* _MsgRowWrongKind =
    "Der Auftrag ist für „{}“, dieser Befehl schreibt {}.";
inline constexpr const char* _MsgRowMissing = "{} fehlt.";
inline constexpr const char* _MsgRowNotDigits = "„{}“ ist keine {} (nur Ziffern).";
inline constexpr const char* _MsgRowAccountNumber = "Kontonummer";
inline constexpr const char* _MsgRowBankCode = "Bankleitzahl";
inline constexpr const char* _MsgRowNoName = "Der Name fehlt.";

// Text a file cannot take.
inline constexpr const char* _MsgRowStrictChange = "Mit --streng ein Fehler: {}";
inline constexpr const char* _MsgRowCharacter = "„{}“ ({})";
inline constexpr const char* _MsgRowNotInCp1252 = "{} gibt es in Windows-1252 nicht.";
inline constexpr const char* _MsgRowNotAllowed = "{} ({}) ist nicht erlaubt.";
inline constexpr const char* _MsgRowAtCharacter = "Zeichen {}: {}";

inline constexpr const char* _MsgRowTab = "Tabulator";
inline constexpr const char* _MsgRowLineFeed = "Zeilenumbruch";
inline constexpr const char* _MsgRowCarriageReturn = "Wagenrücklauf";
inline constexpr const char* _MsgRowControlChar = "Steuerzeichen";

// The header and the rows of a table.
inline constexpr const char* _MsgRowLine = "Zeile {}";
inline constexpr const char* _MsgRowPosition = "Zeile {}, Spalte {}";
inline constexpr const char* _MsgRowColumnTwice = "Die Spalte kommt zweimal vor.";
inline constexpr const char* _MsgRowUnknownColumn = "Unbekannte Spalte; bekannt sind: {}.";
inline constexpr const char* _MsgRowNoColumn = "Die Spalte „{}“ fehlt.";
inline constexpr const char* _MsgRowWidthOne = "{} Feld, die Kopfzeile hat {}.";
inline constexpr const char* _MsgRowWidth = "{} Felder, die Kopfzeile hat {}.";

// DTAUS.
inline constexpr const char* _MsgRowDmFile =
    "DM-Dateien werden nicht mehr geschrieben, nur noch gelesen; zordta schreibt nur Euro („EUR“).";
inline constexpr const char* _MsgRowNotDtausCurrency =
    "„{}“ ist keine Währung einer DTAUS-Datei; zordta schreibt nur Euro („EUR“).";
inline constexpr const char* _MsgRowNoNameSupplement =
    "Namenszusätze des Empfängers kann zordta nicht schreiben; bitte in den Namen oder den "
    "Verwendungszweck übernehmen.";
inline constexpr const char* _MsgRowNoClientSupplement =
    "Namenszusätze des Auftraggebers kann zordta nicht schreiben.";
inline constexpr const char* _MsgRowNoClientPerPayment =
    "Einen eigenen Auftraggeber je Buchung kann zordta nicht schreiben; jede Buchung trägt den "
    "Auftraggeber der Datei.";
inline constexpr const char* _MsgRowNoCustomerNumber =
    "Eine interne Kundennummer je Buchung kann zordta nicht schreiben.";
inline constexpr const char* _MsgRowDtausCountFull =
    "Eine Datei fasst höchstens {} Buchungen (Datensatz E, 7 Stellen).";
inline constexpr const char* _MsgRowDtausSumFull =
    "Mit diesem Betrag erreicht die Summe der Datei {}; Datensatz E fasst höchstens {} (13 "
    "Stellen).";
inline constexpr const char* _MsgRowContradiction =
    "Widersprüchliche Angaben: {} bedeutet {}, {} bedeutet {}.";
inline constexpr const char* _MsgRowCredits = "Gutschriften";
inline constexpr const char* _MsgRowDebits = "Lastschriften";
inline constexpr const char* _MsgRowAbbuchung = "Lastschriften im Abbuchungsauftragsverfahren";
inline constexpr const char* _MsgRowEinzug = "Lastschriften im Einzugsermächtigungsverfahren";

// DTAZV.
inline constexpr const char* _MsgRowNotACountry =
    "„{}“ ist kein Ländercode (zwei Buchstaben, z.B. FR).";
inline constexpr const char* _MsgRowBelowOneUnit = "Der Betrag muss mindestens 1 {} sein.";
inline constexpr const char* _MsgRowDtazvSumFull =
    "Mit diesem Betrag erreicht die Summe der ganzen Einheiten {}; Datensatz Z fasst höchstens {} "
    "(15 Stellen).";
// What "dtazv read" prints of a payment that the writer has no field for.
inline constexpr const char* _MsgRowZvNoOwnAccount =
    "Ein eigenes Auftraggeberkonto je Zahlung kann zordta nicht schreiben; jede Zahlung trägt das "
    "Konto und die Währung der Datei.";
inline constexpr const char* _MsgRowZvNoOwnPaymentType =
    "Einen eigenen Zahlungsartschlüssel je Zahlung kann zordta nicht schreiben; er gilt für die "
    "ganze Datei („zahlungsart“).";
inline constexpr const char* _MsgRowZvNoInstructions =
    "Weisungsschlüssel kann zordta nicht schreiben; jede Zahlung trägt „00“.";
inline constexpr const char* _MsgRowZvNoInstructionText =
    "Einen Weisungszusatz kann zordta nicht schreiben.";
inline constexpr const char* _MsgRowZvNoCharges =
    "Eine Entgeltregelung kann zordta nicht schreiben; jede Zahlung trägt „00“.";
inline constexpr const char* _MsgRowZvNoChargesAccount =
    "Ein eigenes Entgeltkonto kann zordta nicht schreiben.";
inline constexpr const char* _MsgRowZvNoBankAddress =
    "Die Bank des Begünstigten nach Anschrift kann zordta nicht schreiben; bitte ihren BIC "
    "angeben.";
inline constexpr const char* _MsgRowZvNoReports =
    "Meldungen nach der Außenwirtschaftsverordnung (Datensätze V und W) kann zordta nicht "
    "schreiben; bitte der Bank gesondert melden.";

// SEPA.
inline constexpr const char* _MsgRowSepaDebits = "Lastschriften (pain.008)";
inline constexpr const char* _MsgRowSepaTransfers = "Überweisungen (pain.001)";
inline constexpr const char* _MsgRowSepaCore = "Basislastschriften (CORE)";
inline constexpr const char* _MsgRowSepaB2b = "Firmenlastschriften (B2B)";
inline constexpr const char* _MsgRowSepaCurrent =
    "die aktuelle Fassung (pain.001.001.09 bzw. pain.008.001.08)";
inline constexpr const char* _MsgRowSepaGerman =
    "die ältere Fassung (pain.001.003.03 bzw. pain.008.003.02)";
inline constexpr const char* _MsgRowSepaBatch = "eine Sammelbuchung je Zahlungsblock";
inline constexpr const char* _MsgRowSepaSingle = "eine Buchung je Zahlung";
inline constexpr const char* _MsgRowInJob = "„{}“: {} im Auftrag";
inline constexpr const char* _MsgRowDebitsOnlyInTransfers =
    "{} gibt es nur bei Lastschriften (--lastschriften); die Datei enthielte Überweisungen.";
inline constexpr const char* _MsgRowTransfersOnlyInDebits =
    "{} gibt es nur bei Überweisungen; die Datei enthielte Lastschriften.";
inline constexpr const char* _MsgRowSepaInstant = "Echtzeitüberweisungen (INST)";
inline constexpr const char* _MsgRowSepaNotInstant = "Überweisungen ohne Echtzeit";
inline constexpr const char* _MsgRowSepaIso2009 =
    "die Fassung von 2009 (pain.001.001.03 bzw. pain.008.001.02)";
inline constexpr const char* _MsgRowDebitsOnly = "Gibt es nur bei Lastschriften (--lastschriften).";
inline constexpr const char* _MsgRowNotAPurposeCode =
    "„{}“ ist kein Zweck aus vier Buchstaben (z.B. SALA für Gehalt).";
inline constexpr const char* _MsgRowNoMandateId = "Die Mandatsreferenz fehlt.";
inline constexpr const char* _MsgRowNoMandateDate =
    "Das Datum der Unterschrift unter dem Mandat fehlt.";
inline constexpr const char* _MsgRowMandateAhead = "Das Mandat ist auf den {} datiert, nach heute.";
inline constexpr const char* _MsgRowNoSequence = "Die Sequenz fehlt (FRST, RCUR, OOFF oder FNAL).";
inline constexpr const char* _MsgRowNotASequence =
    "„{}“ ist keine Sequenz (FRST, RCUR, OOFF oder FNAL).";
inline constexpr const char* _MsgRowNoCreditorId =
    "Die Gläubiger-Identifikationsnummer fehlt; Lastschriften brauchen sie hier oder in jeder "
    "Buchung.";
inline constexpr const char* _MsgRowBelowOneCent = "Der Betrag muss mindestens 0,01 EUR sein.";

// The IBAN and mandate tables of a conversion.
inline constexpr const char* _MsgRowAccount = "BLZ {}, Konto {}";
inline constexpr const char* _MsgRowBankCodeDigits = "Eine Bankleitzahl hat 8 Ziffern, nicht „{}“.";
inline constexpr const char* _MsgRowAccountDigits =
    "Eine Kontonummer hat 1 bis 10 Ziffern, nicht „{}“.";
inline constexpr const char* _MsgRowNoBankCodeNorAccount = "Bankleitzahl und Kontonummer fehlen.";
inline constexpr const char* _MsgRowWhoseMandate =
    "Es fehlen blz und konto oder iban: wessen Mandat?";
inline constexpr const char* _MsgRowWholeFileKey =
    "Gilt für die ganze Datei, nicht für ein weiteres Konto.";
inline constexpr const char* _MsgRowBlockNumber =
    "Erwartet wird die Nummer eines weiteren Kontos: 1 für das erste unter „weitere_konten“.";

}  // namespace zor
