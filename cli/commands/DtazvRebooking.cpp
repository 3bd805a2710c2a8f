#include "commands/DtazvRebooking.h"

#include <filesystem>
#include <iostream>
#include <istream>

#include "io/EntryNames.h"
#include "io/FileBytes.h"
#include "zordta/DtazvReader.h"
#include "zordta/entry/Diagnostics.h"
#include "zordta/entry/Values.h"
#include "zordta/host/Classes.h"
#include "zordta/host/SysUtils.h"
#include "zordta/host/Text.h"

namespace zcli {

namespace {

namespace fs = std::filesystem;

zor::TDate Encoded(const std::chrono::year_month_day& d) {
  return zor::EncodeDate(static_cast<int>(d.year()),
                         static_cast<int>(static_cast<unsigned>(d.month())),
                         static_cast<int>(static_cast<unsigned>(d.day())));
}

void Start(zor::TZorDTAZV& zv, const std::string& path, const zor::DtazvHeader& q) {
  const fs::path file(path);
  zv.SetPath(zor::StringFromUtf8(file.has_parent_path() ? file.parent_path().string() : "."));
  zv.SetDTAFilename(zor::StringFromUtf8(file.filename().string()));
  zv.SetAuftraggeberName(q.name1);
  zv.SetAuftraggeberName2(q.name2);
  zv.SetAuftraggeberStrasse(q.strasse);
  zv.SetAuftraggeberOrt(q.ort);
  zv.SetAuftraggeberBLZ(static_cast<std::int32_t>(q.blz));
  zv.SetAuftraggeberKontoNr(q.konto);
  zv.SetBundeslandschluessel(q.bundeslandschluessel);
  zv.SetFirmennummer(q.firmennummer);
  if (q.ausfuehrungsdatum) zv.SetAusfuehrungsdatum(Encoded(*q.ausfuehrungsdatum));
  // The file is what it is: the sheet must count every payment in it, also one
  // another program wrote beyond today's limits.
  zv.SetValidateData(false);
  // The sheet needs only the figures; the records are not kept, whatever the
  // file's size. The sink keeps nothing, so one serves every run.
  static zor::DiscardingSink discard;
  zv.SetRecordSink(&discard);
  zv.Start(q.lfdNummer);
}

// A payment the sheet would misstate: the sheet says that no reports go with
// the file, and the component moves a date outside its window to today.
struct NotForTheSheet {
  zor::DtazvPlace place;
  std::string why;
};

constexpr int kDaysAhead = 15;

void Book(zor::TZorDTAZV& zv, const zor::DtazvHeader& q, const zor::DtazvPayment& p,
          zor::TStringList& lines) {
  if (p.anzahlMeldungen > 0) {
    throw NotForTheSheet{p.place,
                         "Die Zahlung hat Meldungen (Datensätze V und W); der Begleitzettel sagt, "
                         "dass keine beigefügt sind."};
  }
  const auto date = p.ausfuehrungsdatum ? p.ausfuehrungsdatum : q.ausfuehrungsdatum;
  const zor::TDate today = zor::Date();
  if (date && (Encoded(*date) < today || Encoded(*date) > today + kDaysAhead)) {
    throw NotForTheSheet{p.place, "Das Ausführungsdatum " + FormatIsoDate(*date) +
                                      " liegt nicht zwischen heute und heute + 15 Tagen; der "
                                      "Begleitzettel nennte einen anderen ersten "
                                      "Ausführungstermin als die Datei."};
  }
  // The sheet names the currency of the client's account, which only the payments state.
  if (zv.AnzahlBuchungen() == 0) zv.SetWaehrungscode(p.kontoWaehrung);
  lines.Clear();
  for (const std::string& line : p.verwendungszweck) {
    if (!line.empty()) lines.Add(zor::StringFromUtf8(line));
  }
  zv.Buchung(p.bic, p.iban, p.name1, p.name2, p.strasse, p.ortLand, p.laendercode,
             static_cast<double>(p.betrag) / 100.0, lines, date ? Encoded(*date) : zor::Date(),
             p.notizIntern, p.ansprechpartner, p.waehrung);
}

}  // namespace

bool RebookDtazv(const std::string& path, zor::TZorDTAZV& zv) {
  try {
    SummedFileBuffer buffer(path);
    std::istream in(&buffer);
    zor::DtazvReader reader(in);
    zor::TStringList lines;
    for (auto item = reader.Next(); item != zor::DtazvReader::Item::End; item = reader.Next()) {
      if (item == zor::DtazvReader::Item::Header) Start(zv, path, reader.Header());
      if (item == zor::DtazvReader::Item::Payment) {
        Book(zv, reader.Header(), reader.Payment(), lines);
      }
    }
  } catch (const NotForTheSheet& e) {
    std::cerr << "Fehler: " << path << ": Datensatz " << e.place.record << ", Byte "
              << e.place.offset << ": " << e.why << "\nKein Begleitzettel.\n";
    return false;
  } catch (const zor::DtazvReadError& e) {
    std::cerr << "Fehler: " << path << ": " << OneLine(e.what()) << '\n';
    if (e.Fault() == zor::DtazvFault::Totals) {
      std::cerr << "Kein Begleitzettel: der Datensatz Z passt nicht zu den Zahlungen.\n";
    }
    return false;
  } catch (const zor::Exception& e) {
    std::cerr << "Fehler: " << path << ": " << OneLine(e.what()) << '\n';
    return false;
  }
  return true;
}

}  // namespace zcli
