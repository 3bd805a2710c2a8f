// Messages of the SEPA reader (UTF-8). "{}" stands for the value named in the text.
#pragma once

namespace zor::detail::msgsepaRead {

inline constexpr const char* _MsgReadLine = "Zeile {}";
inline constexpr const char* _MsgReadStream = "Die SEPA-Datei konnte nicht gelesen werden.";
inline constexpr const char* _MsgReadTooLarge =
    "Ein Teil der Datei ist größer als 16 MiB; so groß ist in einer SEPA-Datei nichts.";
inline constexpr const char* _MsgReadNotXml = "Die Datei ist kein wohlgeformtes XML.";
inline constexpr const char* _MsgReadTooDeep =
    "Die Elemente sind tiefer als {} Ebenen verschachtelt; so tief ist keine SEPA-Datei.";
inline constexpr const char* _MsgReadTextTooLong =
    "Ein Text ist länger als 10.000.000 Bytes; so lang ist in einer SEPA-Datei keiner.";
inline constexpr const char* _MsgReadNameTooLong =
    "Ein Name ist länger als 50.000 Bytes; so lang ist in einer SEPA-Datei keiner.";
inline constexpr const char* _MsgReadMarkupTooLong =
    "Ein Attributwert, Kommentar oder anderes Stück Markup ist länger als 10.000.000 Bytes; so "
    "lang ist in einer SEPA-Datei nichts.";
inline constexpr const char* _MsgReadTruncated = "Die Datei endet vor dem Ende des Dokuments.";
inline constexpr const char* _MsgReadTruncatedOrAfterEnd =
    "Die Datei endet vor dem Ende des Dokuments, oder nach seinem Ende folgt noch etwas.";
inline constexpr const char* _MsgReadDoctype =
    "Die Datei enthält eine Dokumenttyp-Deklaration (DOCTYPE); sie wird nicht gelesen.";
// The versions read and a full stop follow.
inline constexpr const char* _MsgReadNamespace =
    "Der Namensraum {} wird nicht gelesen; gelesen werden ";
inline constexpr const char* _MsgReadUnexpected = "Das Element {} wird hier nicht gelesen.";
inline constexpr const char* _MsgReadUnexpectedExpected =
    "Das Element {} wird hier nicht gelesen; erwartet wird ";
inline constexpr const char* _MsgReadMissing = "Das Element {} fehlt in ";
inline constexpr const char* _MsgReadForeign = "Das Element {} steht in einem fremden Namensraum.";
inline constexpr const char* _MsgReadAttribute = "Das Attribut {} wird nicht gelesen.";
inline constexpr const char* _MsgReadText = "Text an dieser Stelle wird nicht gelesen: {}";
inline constexpr const char* _MsgReadAfterEnd = "Nach dem Ende des Dokuments folgt noch etwas.";
inline constexpr const char* _MsgReadValueLength = "Der Wert von {} ist länger als 4096 Bytes.";
inline constexpr const char* _MsgReadEmpty = "Das Element {} ist leer.";
inline constexpr const char* _MsgReadCode = "{} ist hier nicht erlaubt; erwartet wird ";
inline constexpr const char* _MsgReadAmount =
    "{} ist kein Betrag von 0,01 bis 999.999.999,99 mit höchstens zwei Nachkommastellen.";
inline constexpr const char* _MsgReadSum = "{} ist keine Kontrollsumme mit höchstens 18 Stellen.";
inline constexpr const char* _MsgReadCount = "{} ist keine Anzahl.";
inline constexpr const char* _MsgReadCurrency = "Die Währung {} wird nicht gelesen; nur EUR.";
inline constexpr const char* _MsgReadDate = "{} ist kein Datum JJJJ-MM-TT der Jahre 1900 bis 9999.";
inline constexpr const char* _MsgReadDateTime = "{} ist kein Zeitpunkt JJJJ-MM-TTThh:mm:ss.";
inline constexpr const char* _MsgReadIban = "Die IBAN {} ist nicht gültig.";
inline constexpr const char* _MsgReadBic = "Die BIC {} hat nicht die Form einer BIC.";
inline constexpr const char* _MsgReadPurpose =
    "Der Zweck {} ist kein Code aus vier Großbuchstaben.";
inline constexpr const char* _MsgReadCreditorId =
    "Die Gläubiger-Identifikationsnummer {} ist nicht gültig.";
inline constexpr const char* _MsgReadMixed =
    "Der Zahlungsblock {} nennt eine andere Lastschriftart als der erste; eine Datei hat nur "
    "eine.";
inline constexpr const char* _MsgReadBlockCount =
    "Der Zahlungsblock {} nennt in NbOfTxs eine andere Anzahl als seine Zahlungen: ";
inline constexpr const char* _MsgReadBlockSum =
    "Der Zahlungsblock {} nennt in CtrlSum eine andere Summe als seine Zahlungen: ";
inline constexpr const char* _MsgReadHeaderCount =
    "Der Dateikopf nennt in NbOfTxs eine andere Anzahl als die Zahlungen der Datei: ";
inline constexpr const char* _MsgReadHeaderSum =
    "Der Dateikopf nennt in CtrlSum eine andere Summe als die Zahlungen der Datei: ";
inline constexpr const char* _MsgReadStatedCounted = "angegeben {}, gezählt ";

}  // namespace zor::detail::msgsepaRead
