// Messages of the unit ZorDTA (UTF-8; raised as interface text).
#pragma once

namespace zor::detail::msg {

inline constexpr const char* _MsgStarted = "Die Methode Start() wurde bereits aufgerufen.";
inline constexpr const char* _MsgReady =
    "Die Methode Start() wurde noch nicht aufgerufen oder Finish() wurde bereits aufgerufen.";
inline constexpr const char* _MsgStartFirst =
    "Es muss zunächst die Methode Start() aufgerufen werden.";
inline constexpr const char* _MsgADatum =
    "Das Ausführungsdatum darf das aktuelle Datum um höchstens 15 Tage überschreiten.";
inline constexpr const char* _MsgValidateBLZ = "Die Bankleitzahl muss genau 8 Zeichen besitzen.";
inline constexpr const char* _MsgValidateKontoDE =
    "Die Kontonummer muss zwischen 10 und 9999999999 liegen.";
inline constexpr const char* _MsgValidateName = "Der Buchungsempfänger muss angegeben werden.";
inline constexpr const char* _MsgValidateBetrag =
    "Der Betrag muss zwischen € 1 und € 999999999.99 liegen.";
inline constexpr const char* _MsgValidateVwzCount =
    "Es sind nicht mehr als 14 Verwendungszwecke erlaubt.";
inline constexpr const char* _MsgDiskettenNummer =
    "Der Diskettenzähler \"Nummer\" in \"%s\" hat den ungültigen Wert „%s“; erlaubt ist eine "
    "Zahl von 0 bis 9999.";

// Import.
inline constexpr const char* _MsgErrorFileNotExists = "Der angegebene Dateiname existiert nicht.";
inline constexpr const char* _MsgErrorFileIsInUse =
    "Die gewählte Datei wird bereits von einem anderen Prozess verwendet.";
inline constexpr const char* _MsgErrorFormat = "Dateianfang entspricht nicht dem DTA-Format.";
inline constexpr const char* _MsgErrorBankleitzahl =
    "Datei entspricht nicht dem DTA-Format.\r\nFehler beim Konvertieren einer Bankleitzahl.";
inline constexpr const char* _MsgErrorKontonummer =
    "Datei entspricht nicht dem DTA-Format.\r\nFehler beim Konvertieren einer Kontonummer.";
inline constexpr const char* _MsgErrorDatum =
    "Datei entspricht nicht dem DTA-Format.\r\nFehler beim Konvertieren eines Datums.";
inline constexpr const char* _MsgErrorDatensatzC =
    "Datei entspricht nicht dem DTA-Format.\r\nFehler beim Einlesen eines C-Datensatze-Headers";
inline constexpr const char* _MsgErrorBetrag =
    "Datei entspricht nicht dem DTA-Format.\r\nFehler beim Konvertieren des Betrages.";
inline constexpr const char* _MsgErrorErweiterungen =
    "Datei entspricht nicht dem DTA-Format.\r\nFehler beim Konvertieren der "
    "Erweiterungen-Anzahl.";

}  // namespace zor::detail::msg
