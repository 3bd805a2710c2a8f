// The conversion's messages about a DTAUS file on its way into SEPA.
#pragma once

namespace zor {

inline constexpr const char* _MsgConvertPlace = "Datensatz {} (Byte {})";
inline constexpr const char* _MsgConvertDm =
    "Die logische Datei lautet auf DM; SEPA-Zahlungen gibt es nur in Euro.";
inline constexpr const char* _MsgConvertNoCreditorId =
    "Die Gläubiger-Identifikationsnummer fehlt; Lastschriften brauchen sie.";
inline constexpr const char* _MsgConvertPastExecution = "Das Ausführungsdatum {} liegt vor heute.";
inline constexpr const char* _MsgConvertPastFileDate =
    "Kein Ausführungsdatum, und das Dateidatum {} liegt vor heute.";
inline constexpr const char* _MsgConvertNoIbanRules =
    "Die Bankleitzahlendatei nennt keine IBAN-Regeln; ohne sie ist keine IBAN zu bilden.";
inline constexpr const char* _MsgConvertRuleAssumed =
    "Die Bankleitzahlendatei nennt keine IBAN-Regeln; die IBANs sind nach der Standardregel "
    "gebildet und für eine Bank mit eigener Regel falsch.";
inline constexpr const char* _MsgConvertTextDropped =
    "„{}“ hat in der SEPA-Datei keinen Platz und entfällt.";
inline constexpr const char* _MsgConvertNotADebitKey =
    "Der Zahlungsschlüssel {} ist keiner für Lastschriften ({}).";
inline constexpr const char* _MsgConvertTwoSchemes =
    "Schlüssel {}, die erste Lastschrift der logischen Datei, {}, hat Schlüssel {}. Ein "
    "SEPA-Dokument hat ein Verfahren: die Lastschriften auf zwei logische Dateien verteilen.";
inline constexpr const char* _MsgConvertNoMandate = "Kein Mandat für BLZ {}, Konto {}{}.";
inline constexpr const char* _MsgConvertNoMandateTable =
    "Kein Mandat: Lastschriften brauchen eine Mandatstabelle.";
inline constexpr const char* _MsgConvertNoPayments =
    "Die logische Datei hat keine Buchungen; ein SEPA-Dokument braucht eine.";
inline constexpr const char* _MsgConvertFileChanged = "Die Datei hat sich beim Lesen geändert.";
inline constexpr const char* _MsgConvertTextsChanged = "Ein Text wurde umschrieben oder gekürzt.";

// Calls in the wrong order: faults of the calling program.
inline constexpr const char* _MsgConvertFaultsFound =
    "Die Umsetzung hat Fehler gefunden; es gibt nichts zu schreiben.";
inline constexpr const char* _MsgConvertStreams =
    "Zum Schreiben braucht jedes Dokument einen Ausgabestrom.";
inline constexpr const char* _MsgConvertNotStarted =
    "Zahlungen werden erst nach StartWriting geschrieben.";

}  // namespace zor
