// The component's cover sheet: it hands the figures of its file to the sheet.
#include "coversheet/CoverSheets.h"
#include "zordta/ZorDTAZV.h"

namespace zor {

namespace {

detail::coversheet::DtazvFigures Figures(const TZorDTAZV& component, const String& volumeLabel) {
  detail::coversheet::DtazvFigures figures;
  figures.fileName = component.DTAFilename();
  figures.volumeLabel = volumeLabel;
  figures.erstesDatum = component.ErstesAusfuehrungsdatum();
  figures.anzahlBuchungen = component.AnzahlBuchungen();
  figures.summeBetragVorKomma = component.SummeBetragVorKomma();
  figures.multiWaehrung = component.MultiWaehrung();
  figures.waehrungscode = component.Waehrungscode();
  figures.auftraggeberKontoNr = component.AuftraggeberKontoNr();
  figures.auftraggeberName = component.AuftraggeberName();
  figures.auftraggeberOrt = component.AuftraggeberOrt();
  return figures;
}

}  // namespace

String TZorDTAZV::GetBegleitzettel() const {
  // The label is asked for only when it is shown.
  const String label = fDTAFilename.empty() ? String() : GetVolumeLabel(fPath);
  return detail::coversheet::DtazvText(Figures(*this, label));
}

void TZorDTAZV::PrintBegleitzettel() {
  if (fAnzahlBegleitzettel == 0) return;
  const String label = fDTAFilename.empty() ? String() : GetVolumeLabel(fPath);
  detail::coversheet::PrintDtazv(Figures(*this, label), fAnzahlBegleitzettel);
}

}  // namespace zor
