// The cover sheets of both file kinds, as text and as a printed page. A component
// hands over the figures of its file; the sheets know no component.
#pragma once

#include <cstdint>

#include "zordta/host/Types.h"

namespace zor::detail::coversheet {

struct DtausFigures {
  TFileName fileName;  // empty: the file was not written to disk
  String volumeLabel;  // of the file's folder; only with a file name
  bool lastschriften = false;
  std::int32_t anzahlBuchungen = 0;
  double summeBetrag = 0;  // euro
  std::int64_t summeKontonummer = 0;
  std::int64_t summeBLZ = 0;
  std::int32_t auftraggeberBLZ = 0;
  std::int64_t auftraggeberKontoNr = 0;
  AnsiString auftraggeberName;
};

struct DtazvFigures {
  TFileName fileName;  // empty: the file was not written to disk
  String volumeLabel;  // of the file's folder; only with a file name
  TDateTime erstesDatum = 0;
  std::int32_t anzahlBuchungen = 0;
  std::int64_t summeBetragVorKomma = 0;
  bool multiWaehrung = false;
  AnsiString waehrungscode;
  std::int64_t auftraggeberKontoNr = 0;
  AnsiString auftraggeberName;
  AnsiString auftraggeberOrt;
};

/// The sheet as text: lines joined by CR LF, none after the last.
String DtausText(const DtausFigures& figures);
String DtazvText(const DtazvFigures& figures);

/// Prints the sheet in `copies` copies (nothing for 0) on the process-wide printer.
void PrintDtaus(const DtausFigures& figures, std::uint32_t copies);
void PrintDtazv(const DtazvFigures& figures, std::uint32_t copies);

}  // namespace zor::detail::coversheet
