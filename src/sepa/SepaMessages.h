// Messages of the SEPA writer (UTF-8). "{}" stands for the value named in the text.
#pragma once

namespace zor::detail::msgsepa {

inline constexpr const char* _MsgSepaPayment = "Zahlung {}";
inline constexpr const char* _MsgSepaSettings = "Dateikopf";
inline constexpr const char* _MsgSepaAmount =
    "Der Betrag muss zwischen 0,01 und 999.999.999,99 Euro liegen.";
inline constexpr const char* _MsgSepaSumTooLarge = "Die Summe der Beträge hat mehr als 18 Stellen.";
inline constexpr const char* _MsgSepaIban = "Die IBAN {} ist nicht gültig.";
inline constexpr const char* _MsgSepaBic =
    "Die BIC {} muss aus 8 oder 11 Großbuchstaben und Ziffern in der Form einer BIC bestehen.";
inline constexpr const char* _MsgSepaCreditorIdForm =
    "Die Gläubiger-Identifikationsnummer {} hat nicht die Form Land, Prüfziffern, "
    "Geschäftsbereich, nationale Kennung.";
inline constexpr const char* _MsgSepaCreditorIdDigits =
    "Die Prüfziffern der Gläubiger-Identifikationsnummer {} stimmen nicht.";
inline constexpr const char* _MsgSepaMandateId = "Die Mandatsreferenz fehlt.";
inline constexpr const char* _MsgSepaMandateDate =
    "Das Datum der Unterschrift des Mandats fehlt oder ist kein Kalenderdatum der Jahre 1900 bis "
    "9999.";
inline constexpr const char* _MsgSepaIdentifierEmpty = "Die Referenz ist leer.";
inline constexpr const char* _MsgSepaIdentifierLength =
    "Die Referenz {} ist länger als 35 Zeichen; Referenzen werden nicht gekürzt.";
inline constexpr const char* _MsgSepaIdentifierCharacter =
    "Die Referenz {} enthält ein Zeichen, das in Referenzen nicht erlaubt ist.";
inline constexpr const char* _MsgSepaIdentifierSlash =
    "Die Referenz {} beginnt oder endet mit \"/\" oder enthält \"//\"; das ist in Referenzen "
    "nicht erlaubt.";
inline constexpr const char* _MsgSepaCountry =
    "Die IBAN {} ist aus {}, einem Land außerhalb des SEPA-Raums; SEPA-Zahlungen dorthin nehmen "
    "die Banken nicht an.";
inline constexpr const char* _MsgSepaBicOutsideEea =
    "Die IBAN {} ist aus {}, einem SEPA-Land außerhalb des EWR; dafür ist die BIC nötig.";
inline constexpr const char* _MsgSepaNameEmpty = "Der Name muss angegeben werden.";
inline constexpr const char* _MsgSepaMalformed = "Der Text ist kein gültiges UTF-8.";
inline constexpr const char* _MsgSepaNoCounterpart =
    "Das Zeichen {} hat keine Entsprechung im Zeichensatz der Banken.";
inline constexpr const char* _MsgSepaNoCounterparts =
    "Die Zeichen {} haben keine Entsprechung im Zeichensatz der Banken.";
inline constexpr const char* _MsgSepaTransliterated =
    "Zeichen außerhalb des Zeichensatzes der Banken wurden umschrieben: {}";
inline constexpr const char* _MsgSepaTransliterationRefused =
    "Der Text enthält Zeichen außerhalb des Zeichensatzes der Banken: {}";
inline constexpr const char* _MsgSepaCut = "Der Text ist länger als {} Zeichen und wurde gekürzt.";
inline constexpr const char* _MsgSepaCutRefused = "Der Text ist länger als {} Zeichen.";
inline constexpr const char* _MsgSepaDate =
    "Das Ausführungsdatum ist kein Kalenderdatum der Jahre 1900 bis 9999.";
inline constexpr const char* _MsgSepaWrongGroup =
    "Die Zahlung gehört nicht zur Gruppe, die gerade geschrieben wird (Datum {}).";
inline constexpr const char* _MsgSepaGroupCount =
    "Die Gruppe mit Datum {} erhält mehr Zahlungen als geplant.";
inline constexpr const char* _MsgSepaGroupTotals =
    "Die Zahlungen der Gruppe mit Datum {} weichen in Anzahl oder Summe vom Plan ab.";
inline constexpr const char* _MsgSepaGroupPayments =
    "Die Zahlungen der Gruppe mit Datum {} sind andere als die geplanten.";
inline constexpr const char* _MsgSepaPurpose =
    "Der Zweck {} ist kein Code aus vier Großbuchstaben (z.B. SALA).";
inline constexpr const char* _MsgSepaStream = "Die SEPA-Datei konnte nicht geschrieben werden.";
inline constexpr const char* _MsgSepaNoPayments = "Die SEPA-Datei enthält keine Zahlung.";
inline constexpr const char* _MsgSepaFinished = "Die SEPA-Datei ist bereits abgeschlossen.";

// Structured creditor references (ISO 11649).
inline constexpr const char* _MsgSepaNotACreditorReference =
    "„{}“ ist keine strukturierte Gläubigerreferenz (RF, zwei Prüfziffern und bis zu 21 "
    "Buchstaben oder Ziffern, z.B. RF18539007547034).";
inline constexpr const char* _MsgSepaCreditorReferenceCharacter =
    "Eine Gläubigerreferenz besteht aus Buchstaben und Ziffern; „{}“ gehört nicht hinein.";
inline constexpr const char* _MsgSepaCreditorReferenceCheckPlace =
    "Auf RF folgen zwei Prüfziffern, nicht „{}“.";
inline constexpr const char* _MsgSepaCreditorReferenceLength =
    "Nach RF und den Prüfziffern stehen höchstens 21 Zeichen, hier {}.";
inline constexpr const char* _MsgSepaCreditorReferenceCheckDigits =
    "Die Prüfziffern {} passen nicht zur Gläubigerreferenz: ein Zeichen ist falsch oder "
    "vertauscht.";

// Postal addresses.
inline constexpr const char* _MsgSepaAddressLinesOnly =
    "Eine Anschrift nur aus Adresszeilen nehmen die Banken seit dem 15. November 2026 nicht mehr: "
    "Ort und Land gehören in ihre eigenen Felder.";
inline constexpr const char* _MsgSepaAddressNoTown = "Zur Anschrift gehört der Ort.";
inline constexpr const char* _MsgSepaAddressNoCountry =
    "Zur Anschrift gehört das Land (ISO 3166, z.B. DE).";
inline constexpr const char* _MsgSepaAddressCountry = "„{}“ ist kein Land (ISO 3166, z.B. DE).";
inline constexpr const char* _MsgSepaAddressLines =
    "Neben den Feldern einer Anschrift stehen höchstens zwei Adresszeilen, hier {}.";

}  // namespace zor::detail::msgsepa
