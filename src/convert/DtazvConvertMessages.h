// The conversion's messages about a DTAZV file on its way into pain.001.
#pragma once

namespace zor {

inline constexpr const char* _MsgDtazvPast = "Das Ausführungsdatum {} liegt vor heute.";
inline constexpr const char* _MsgDtazvOtherAccount =
    "Die Zahlung belastet BLZ {}, Konto {}, nicht das Konto des Datensatzes Q (BLZ {}, Konto {}); "
    "ein Dokument belastet ein Konto: die Datei je Konto aufteilen.";
inline constexpr const char* _MsgDtazvOtherCurrency =
    "Die Zahlung belastet ein Konto in {}, die erste Auslandszahlung eines in {}; ein Dokument "
    "belastet ein Konto: die Datei je Kontowährung aufteilen.";
inline constexpr const char* _MsgDtazvChargesAccount =
    "Ein eigenes Konto für die Entgelte (BLZ {}, Konto {}) wird nicht umgesetzt; die Entgelte "
    "trägt das belastete Konto. Die Zahlung ohne Entgeltkonto angeben.";
inline constexpr const char* _MsgDtazvCharges =
    "Die Entgeltregelung {} gibt es nicht (00 geteilt, 01 Auftraggeber, 02 Zahlungsempfänger).";
inline constexpr const char* _MsgDtazvSepaCharges =
    "Eine SEPA-Überweisung teilt die Entgelte; die Entgeltregelung {} gibt es für Euro im "
    "SEPA-Raum nicht, nur 00.";
inline constexpr const char* _MsgDtazvCheque =
    "Der Zahlungsartschlüssel {} ist eine Scheckziehung; pain.001 setzt Überweisungen um, keine "
    "Schecks.";
inline constexpr const char* _MsgDtazvEuStandard =
    "Der Zahlungsartschlüssel 13 (EU-Standardüberweisung) gilt nur für Euro an ein Konto im "
    "SEPA-Raum; diese Zahlung geht in {} an {}.";
inline constexpr const char* _MsgDtazvPaymentType =
    "Der Zahlungsartschlüssel {} hat keine Entsprechung in pain.001 (umgesetzt werden 00, 10, 11 "
    "und 13).";
inline constexpr const char* _MsgDtazvSepaPaymentType =
    "Der Zahlungsartschlüssel {} (Eilzahlung) gilt nicht für SEPA-Überweisungen; nur 00 und 13.";
inline constexpr const char* _MsgDtazvSepaInstruction =
    "Weisungen an die Banken ({}) gibt es für SEPA-Überweisungen nicht.";
inline constexpr const char* _MsgDtazvEquivalentPlace =
    "Der Weisungsschlüssel 91 (Euro-Gegenwert) steht nur als vierter Weisungsschlüssel.";
inline constexpr const char* _MsgDtazvEquivalentEuro =
    "Der Weisungsschlüssel 91 (Euro-Gegenwert) verlangt eine andere Auftragswährung als Euro.";
inline constexpr const char* _MsgDtazvSepaReport =
    "Meldungen zu Euro-Zahlungen in den SEPA-Raum gehen mit Vordruck Z4 an die Bundesbank; "
    "SEPA-Überweisungen tragen keine.";
inline constexpr const char* _MsgDtazvTransitReport =
    "Meldungen zum Transithandel (Datensatz V) haben in pain.001 keinen Platz; sie gehen mit "
    "Vordruck Z4 an die Bundesbank.";
inline constexpr const char* _MsgDtazvSepaAccountCurrency =
    "Eine SEPA-Überweisung belastet ein Euro-Konto, nicht eines in {}.";
inline constexpr const char* _MsgDtazvContactDropped =
    "Der Ansprechpartner „{}“ hat in einer SEPA-Überweisung keinen Platz und entfällt.";
inline constexpr const char* _MsgDtazvFileChanged = "Die Datei hat sich beim Lesen geändert.";
inline constexpr const char* _MsgDtazvTextsChanged = "Ein Text wurde umschrieben oder gekürzt.";
inline constexpr const char* _MsgDtazvRuleAssumed =
    "Die Bankleitzahlendatei nennt keine IBAN-Regeln; die IBAN des Auftraggebers ist nach der "
    "Standardregel gebildet und für eine Bank mit eigener Regel falsch.";

// Calls in the wrong order: faults of the calling program.
inline constexpr const char* _MsgDtazvFaultsFound =
    "Die Umsetzung hat Fehler gefunden; es gibt nichts zu schreiben.";
inline constexpr const char* _MsgDtazvStreams =
    "Zum Schreiben braucht jedes Dokument einen Ausgabestrom.";
inline constexpr const char* _MsgDtazvNotStarted =
    "Zahlungen werden erst nach StartWriting geschrieben.";
inline constexpr const char* _MsgDtazvNoIbanOf =
    "Ohne IBAN des Auftraggebers braucht die Umsetzung die Bankleitzahlendatei.";

}  // namespace zor
