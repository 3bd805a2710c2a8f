// Messages of the unit ZorDTAZV (UTF-8; raised as interface text).
#pragma once

namespace zor::detail::msgzv {

inline constexpr const char* _MsgValidateNameZV = "Der Name muss angegeben werden.";
inline constexpr const char* _MsgValidateStrasse =
    "Die Straße darf höchstens 35 Zeichen beinhalten.";
inline constexpr const char* _MsgValidateOrt =
    "Der Ort muss angegeben werden und darf höchstens 35 Zeichen beinhalten.";
inline constexpr const char* _MsgValidateVwzCountZV =
    "Es sind nicht mehr als 4 Verwendungszwecke erlaubt.";
inline constexpr const char* _MsgValidateNotiz =
    "Die interne Notiz darf höchstens 27 Zeichen beinhalten.";
inline constexpr const char* _MsgValidateAnsprechpartner =
    "Der Ansprechpartner darf höchstens 35 Zeichen beinhalten.";
inline constexpr const char* _MsgValidateBetrag =
    "Der Betrag muss zwischen € 1 und € 99999999999999.99 liegen.";
inline constexpr const char* _MsgValidateBetrag12500 =
    "Der Betrag muss zwischen € 1 und € 12.500 liegen.";
inline constexpr const char* _MsgValidateBetrag50000 =
    "Der Betrag muss zwischen € 1 und € 50.000 liegen.";
inline constexpr const char* _MsgBundeslandschluessel =
    "Der Bundeslandschlüssel ist maximal zweistellig.";
inline constexpr const char* _MsgFirmennummer = "Die Firmennummer besteht aus maximal 8 Ziffern.";
inline constexpr const char* _MsgWaehrungscode =
    "Der Währungscode muss aus genau drei Zeichen bestehen, z.B. USD.";
inline constexpr const char* _MsgValidateIBAN =
    "Es muss eine korrekte IBAN angegeben werden. Die IBAN darf höchstens 34 Zeichen "
    "beinhalten.";
inline constexpr const char* _MsgValidateBIC = "Die BIC muss aus 8 oder 11 Ziffern bestehen.";
// Values that no check covers but that cannot stand in their fields.
inline constexpr const char* _MsgLfdNummer = "Die laufende Nummer ist maximal zweistellig.";
inline constexpr const char* _MsgZahlungsArtSchluessel =
    "Der Zahlungsartschlüssel ist maximal zweistellig.";
inline constexpr const char* _MsgBICZeichen =
    "Die BIC darf nur aus Buchstaben (A-Z) und Ziffern bestehen.";
inline constexpr const char* _MsgIBANZeichen =
    "Die IBAN darf nur aus Buchstaben (A-Z) und Ziffern bestehen.";
inline constexpr const char* _MsgLaendercodeZeichen =
    "Der Ländercode darf nur aus Buchstaben (A-Z) bestehen.";

}  // namespace zor::detail::msgzv
