#include "payments/DtausImport.h"

#include <cmath>

#include "zordta/ZorDTA.h"
#include "zordta/host/Text.h"

namespace zcli {

ControlSums ImportedFile::Sums() const {
  ControlSums sums;
  for (const ImportedPayment& p : payments) {
    ++sums.count;
    sums.konto += p.konto;
    sums.blz += p.blz;
    sums.cent += p.cent;
  }
  return sums;
}

ImportedFile ImportDtaus(const std::string& path, const std::string& bytes) {
  ImportedFile file;
  zor::TZorDTA dta(nullptr);
  dta.SetOnDTAImport([&file](const zor::AnsiString& name, std::int64_t konto, std::int64_t blz,
                             double betrag, zor::TStrings& vwz, bool abbuchung,
                             const zor::AnsiString& key) {
    ImportedPayment p;
    p.name = zor::AnsiToUtf8(name);
    p.konto = konto;
    p.blz = blz;
    // The importer hands over cents / 100; rounding recovers the cents exactly.
    p.cent = std::llround(betrag * 100.0);
    for (int i = 0; i < vwz.Count(); ++i) p.purpose.push_back(zor::StringToUtf8(vwz.Strings(i)));
    p.abbuchung = abbuchung;
    p.schluessel = zor::AnsiToUtf8(key);
    file.payments.push_back(std::move(p));
  });
  dta.ImportDTA(zor::StringFromUtf8(path));

  file.name = zor::AnsiToUtf8(dta.AuftraggeberName());
  file.blz = dta.AuftraggeberBLZ();
  file.konto = dta.AuftraggeberKontoNr();
  file.lastschriften = dta.Lastschriften();
  file.dateidatum = dta.DiskettenErstellDatum();
  // The importer reads a blank execution date as today; the bytes tell them apart.
  if (HasExecutionDate(bytes)) file.ausfuehrung = dta.Ausfuehrungsdatum();
  return file;
}

}  // namespace zcli
