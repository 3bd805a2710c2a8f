// Messages of the checked DTAUS reader (UTF-8). Each "{}" stands for a value
// named in the text, in order; names of fields are passed as values.
#pragma once

namespace zor::detail::msgdtausRead {

// Where a message points, and what it says of a field.
inline constexpr const char* _MsgReadPlace = "Datensatz {}, Byte {}";
inline constexpr const char* _MsgReadAtPlace = "{}: {}";
inline constexpr const char* _MsgReadPositions = "Stellen {}-{}";
inline constexpr const char* _MsgReadNotDigits = "{} ({}) enthält nicht nur Ziffern: {}.";
inline constexpr const char* _MsgReadNoDate = "{} ({}) ist kein Kalenderdatum: {}.";
inline constexpr const char* _MsgReadTextDeviation = "{} ({}) enthält {} ({})";
inline constexpr const char* _MsgReadTextRefused = "{}: kein Text einer DTAUS-Datei.";
inline constexpr const char* _MsgReadTextReadAs = "{}, gelesen als \"{}\".";

// What a text field holds instead of the format's characters.
inline constexpr const char* _MsgReadLowerCase = "Kleinbuchstabe";
inline constexpr const char* _MsgReadCp437Umlaut = "Umlaut in Kleinschreibung der Codepage 437";
inline constexpr const char* _MsgReadWindows1252Umlaut = "Umlaut in Windows-1252";
inline constexpr const char* _MsgReadLowerUmlaut7Bit = "Umlaut in Kleinschreibung des 7-Bit-Codes";
inline constexpr const char* _MsgReadOtherPrintable = "Zeichen außerhalb des DTAUS-Zeichensatzes";
inline constexpr const char* _MsgReadRefusedByte = "Steuerzeichen oder unbekanntes Byte";

// The file and its parts.
inline constexpr const char* _MsgReadUnreadable = "Die Datei ist nicht lesbar.";
inline constexpr const char* _MsgReadEmpty = "Die Datei ist leer.";
inline constexpr const char* _MsgReadNoTrailer = "Die Datei endet ohne Datensatz E.";
inline constexpr const char* _MsgReadCutShort = "Die Datei endet im Datensatz nach {} Bytes.";
inline constexpr const char* _MsgReadLineBreaks =
    "Zeilenumbruch zwischen den 128-Byte-Teilen der Datensätze";
inline constexpr const char* _MsgReadLineBreakSkipped =
    "Zeilenumbruch nach einem 128-Byte-Teil übergangen.";
inline constexpr const char* _MsgReadMoreNotes =
    "Dazu {} weitere Abweichungen dieser Art, die nicht einzeln genannt sind.";

// The A record.
inline constexpr const char* _MsgReadNoHeader = "Kein Datensatz A: {} statt \"0128A\".";
inline constexpr const char* _MsgReadFileKind =
    "Kennzeichen der Datei ({}) ist {}, erwartet \"GK\" (Gutschriften) oder \"LK\" "
    "(Lastschriften).";
inline constexpr const char* _MsgReadHeaderCurrency =
    "Währungskennzeichen ({}) ist {}, erwartet \"1\" (Euro) oder ein Leerzeichen (DM).";

// The record after the A record.
inline constexpr const char* _MsgReadDamagedTrailer =
    "Satzart \"E\" mit der Satzlänge {}: kein Datensatz E (ein beschädigter Datensatz C?).";
inline constexpr const char* _MsgReadHeaderTooEarly =
    "Datensatz A, bevor die vorige logische Datei mit einem Datensatz E endet.";
inline constexpr const char* _MsgReadRecordType = "Satzart {} (Stelle 5), erwartet C oder E.";

// The C record.
inline constexpr const char* _MsgReadLengthNoNumber =
    "Satzlänge (Stellen 1-4) des Datensatzes C ist keine Zahl: {}.";
inline constexpr const char* _MsgReadTooManyExtensions =
    "Anzahl der Erweiterungsteile ({}) ist {}, höchstens {} sind erlaubt.";
inline constexpr const char* _MsgReadLengthMismatch =
    "Satzlänge {} passt nicht zu {} Erweiterungsteilen (erwartet {}).";
inline constexpr const char* _MsgReadUnknownKey =
    "Zahlungsschlüssel {} ({}) gibt es nicht; erlaubt sind {} (Lastschriften), {} (Gutschriften).";
inline constexpr const char* _MsgReadKeyOfOtherKind =
    "Zahlungsschlüssel {} ist {}, der Datensatz A kennzeichnet die Datei aber als {}.";
inline constexpr const char* _MsgReadDebitKey = "eine Lastschrift";
inline constexpr const char* _MsgReadCreditKey = "eine Gutschrift";
inline constexpr const char* _MsgReadDebitFile = "\"LK\" (Lastschriften)";
inline constexpr const char* _MsgReadCreditFile = "\"GK\" (Gutschriften)";
inline constexpr const char* _MsgReadDmInEuroFile = "Betrag in DM ({}) in einer Euro-Datei: {}.";
inline constexpr const char* _MsgReadEuroInDmFile = "Betrag in Euro ({}) in einer DM-Datei: {}.";
inline constexpr const char* _MsgReadPaymentCurrency =
    "Währungskennzeichen ({}) ist {}, der Datensatz A nennt {}.";
inline constexpr const char* _MsgReadUnusedExtension =
    "Erweiterungsteil {} ({}) ist belegt, der Datensatz nennt aber nur {}.";
inline constexpr const char* _MsgReadExtensionType =
    "Art des Erweiterungsteils {} ({}) ist {}, erwartet 01 (Name), 02 (Verwendungszweck) oder 03 "
    "(Auftraggeber).";

// The E record and what follows it.
inline constexpr const char* _MsgReadFigureDifference =
    "{}: im Datensatz E {}, aus den Buchungen {}.";
inline constexpr const char* _MsgReadFiguresDiffer =
    "Der Datensatz E passt nicht zu den Buchungen davor:";
inline constexpr const char* _MsgReadTrailingBytes =
    "Nach dem Datensatz E folgen Bytes, die zu keinem Datensatz gehören ({}).";
inline constexpr const char* _MsgReadPadding =
    "{} Füllbytes (Strg-Z, NUL oder Leerzeichen) nach dem letzten Datensatz E übergangen.";

}  // namespace zor::detail::msgdtausRead
