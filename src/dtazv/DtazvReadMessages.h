// Messages of the checked DTAZV reader (UTF-8). Each "{}" stands for a value
// named in the text, in order; names of fields are passed as values.
#pragma once

namespace zor::detail::msgdtazvRead {

// Where a message points, and what it says of a field.
inline constexpr const char* _MsgZvReadPlace = "Datensatz {}, Byte {}";
inline constexpr const char* _MsgZvReadAtPlace = "{}: {}";
inline constexpr const char* _MsgZvReadPositions = "Stellen {}-{}";
inline constexpr const char* _MsgZvReadNotDigits = "{} ({}) enthält nicht nur Ziffern: {}.";
inline constexpr const char* _MsgZvReadNoDate = "{} ({}) ist kein Kalenderdatum: {}.";
inline constexpr const char* _MsgZvReadNotBlank = "{} ({}) muss leer sein: {}.";
inline constexpr const char* _MsgZvReadLiteral = "{} ({}) ist {}, erwartet {}.";
inline constexpr const char* _MsgZvReadBadByte =
    "{} ({}) enthält {}, ein Zeichen außerhalb des DTAZV-Zeichensatzes.";
inline constexpr const char* _MsgZvReadLowerCase = "{} ({}) enthält den Kleinbuchstaben {}.";
inline constexpr const char* _MsgZvReadLowerCaseRead =
    "{} ({}) enthält Kleinbuchstaben, gelesen als \"{}\".";
inline constexpr const char* _MsgZvReadCodeShape =
    "{} ({}) ist {}, erwartet {} linksbündig, danach nur Leerzeichen.";
inline constexpr const char* _MsgZvReadLetters = "Buchstaben (A-Z)";
inline constexpr const char* _MsgZvReadAlphanumerics = "Buchstaben (A-Z) und Ziffern";
inline constexpr const char* _MsgZvReadCurrency = "{} ({}) ist {}, erwartet drei Buchstaben (A-Z).";

// The file and its records.
inline constexpr const char* _MsgZvReadUnreadable = "Die Datei ist nicht lesbar.";
inline constexpr const char* _MsgZvReadEmpty = "Die Datei ist leer.";
inline constexpr const char* _MsgZvReadNoTrailer = "Die Datei endet ohne Datensatz Z.";
inline constexpr const char* _MsgZvReadNoReport =
    "Die Datei endet, bevor alle {} Meldesätze des Datensatzes T folgen.";
inline constexpr const char* _MsgZvReadCutShort = "Die Datei endet im Datensatz nach {} Bytes.";
inline constexpr const char* _MsgZvReadNoHeader = "Kein Datensatz Q: {} statt \"0256Q\".";
inline constexpr const char* _MsgZvReadRecordHead =
    "Satzlänge und Satzart (Stellen 1-5) sind {}, erwartet \"0768T\" oder \"0256Z\".";
inline constexpr const char* _MsgZvReadReportExpected =
    "Satzlänge und Satzart (Stellen 1-5) sind {}, erwartet ein Meldesatz \"0256V\" oder "
    "\"0256W\" ({} von {} des Datensatzes T).";
inline constexpr const char* _MsgZvReadLineBreaks = "Zeilenumbruch zwischen den Datensätzen.";
inline constexpr const char* _MsgZvReadLineBreakSkipped = "Zeilenumbruch übergangen.";
inline constexpr const char* _MsgZvReadMoreNotes =
    "Dazu {} weitere Abweichungen dieser Art, die nicht einzeln genannt sind.";

// The T record.
inline constexpr const char* _MsgZvReadThirdDecimal =
    "Dritte Nachkommastelle des Betrags ({}) ist {}; nur Hundertstel sind lesbar.";
inline constexpr const char* _MsgZvReadReportFlag =
    "Kennzeichen der Meldesätze ({}) ist {}, zur Anzahl {} passt {}.";

// The Z record and what follows it.
inline constexpr const char* _MsgZvReadTotalsDiffer =
    "Der Datensatz Z passt nicht zu den Datensätzen T davor:";
inline constexpr const char* _MsgZvReadTotalDifference =
    "{}: im Datensatz Z {}, aus den Datensätzen T {}.";
inline constexpr const char* _MsgZvReadSumName = "Summe der Beträge (ganze Einheiten)";
inline constexpr const char* _MsgZvReadCountName = "Anzahl der Datensätze T";
inline constexpr const char* _MsgZvReadTrailingBytes =
    "Nach dem Datensatz Z folgen Bytes, die zu keinem Datensatz gehören ({}).";
inline constexpr const char* _MsgZvReadPadding =
    "{} Füllbytes (Strg-Z, NUL oder Leerzeichen) nach dem Datensatz Z übergangen.";

}  // namespace zor::detail::msgdtazvRead
