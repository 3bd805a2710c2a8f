// The component's cover sheet: it hands the figures of its file to the sheet.
#include "coversheet/CoverSheets.h"
#include "zordta/ZorDTA.h"

namespace zor {

namespace {

detail::coversheet::DtausFigures Figures(const TZorDTA& component, const String& volumeLabel) {
  detail::coversheet::DtausFigures figures;
  figures.fileName = component.DTAFilename();
  figures.volumeLabel = volumeLabel;
  figures.lastschriften = component.Lastschriften();
  figures.anzahlBuchungen = component.AnzahlBuchungen();
  figures.summeBetrag = component.SummeBetrag();
  figures.summeKontonummer = component.SummeKontonummer();
  figures.summeBLZ = component.SummeBLZ();
  figures.auftraggeberBLZ = component.AuftraggeberBLZ();
  figures.auftraggeberKontoNr = component.AuftraggeberKontoNr();
  figures.auftraggeberName = component.AuftraggeberName();
  return figures;
}

}  // namespace

String TZorDTA::GetBegleitzettel() const {
  // The label is asked for only when it is shown.
  const String label = fDTAFilename.empty() ? String() : GetVolumeLabel(fPath);
  return detail::coversheet::DtausText(Figures(*this, label));
}

void TZorDTA::PrintBegleitzettel() {
  if (fAnzahlBegleitzettel == 0) return;
  const String label = fDTAFilename.empty() ? String() : GetVolumeLabel(fPath);
  detail::coversheet::PrintDtaus(Figures(*this, label), fAnzahlBegleitzettel);
}

}  // namespace zor
