#include "payments/DtausImport.h"

#include <algorithm>
#include <cmath>

#include "io/FileBytes.h"
#include "zordta/Limits.h"
#include "zordta/ZorDTA.h"
#include "zordta/host/Text.h"

namespace zcli {

void PaymentSummary::Add(const ImportedPayment& p) {
  ++sums.count;
  sums.konto += p.konto;
  sums.blz += p.blz;
  sums.cent += p.cent;
  abbuchung = abbuchung || p.abbuchung;
  if (schluessel.empty()) schluessel = p.schluessel;
  purposeLines = std::max(purposeLines, p.purpose.size());
}

ImportedClient ImportDtaus(const std::string& path,
                           const std::function<void(const ImportedPayment&)>& take) {
  ImportedPayment p;
  zor::TZorDTA dta(nullptr);
  dta.SetOnDTAImport([&p, &take](const zor::AnsiString& name, std::int64_t konto, std::int64_t blz,
                                 double betrag, zor::TStrings& vwz, bool abbuchung,
                                 const zor::AnsiString& key) {
    p.name = zor::AnsiToUtf8(name);
    p.konto = konto;
    p.blz = blz;
    // The importer hands over cents / 100; rounding recovers the cents exactly.
    p.cent = std::llround(betrag * 100.0);
    p.purpose.resize(static_cast<std::size_t>(vwz.Count()));
    for (int i = 0; i < vwz.Count(); ++i) {
      p.purpose[static_cast<std::size_t>(i)] = zor::StringToUtf8(vwz.Strings(i));
    }
    p.abbuchung = abbuchung;
    p.schluessel = zor::AnsiToUtf8(key);
    take(p);
  });
  dta.ImportDTA(zor::StringFromUtf8(path));

  ImportedClient client;
  client.name = zor::AnsiToUtf8(dta.AuftraggeberName());
  client.blz = dta.AuftraggeberBLZ();
  client.konto = dta.AuftraggeberKontoNr();
  client.lastschriften = dta.Lastschriften();
  client.dateidatum = dta.DiskettenErstellDatum();
  // The importer reads a blank execution date as today; the bytes tell them apart.
  if (HasExecutionDate(ReadFileHead(path, zor::limits::dtaus::kPartLength)))
    client.ausfuehrung = dta.Ausfuehrungsdatum();
  return client;
}

}  // namespace zcli
