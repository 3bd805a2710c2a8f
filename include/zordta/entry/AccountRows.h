// The rows of the tables a conversion from DTAUS takes besides the file: IBANs
// of accounts whose bank does not follow the standard rule, and the mandates of
// direct debits. Each row names an account by bank code and account number (a
// mandate may name it by IBAN instead); the tables themselves are zor::IbanTable
// and zor::MandateTable.
#pragma once

#include <optional>
#include <string>

#include "zordta/AccountTables.h"
#include "zordta/Config.h"
#include "zordta/entry/CsvRecords.h"
#include "zordta/entry/Diagnostics.h"
#include "zordta/entry/InputRecord.h"

namespace zor::entry {

/// blz, konto, iban and optionally bic.
ZORDTA_API const CsvColumns& IbanTableColumns();
/// blz and konto, or iban (or all three), with mandat_id, mandat_datum and sequenz.
ZORDTA_API const CsvColumns& MandateTableColumns();

/// A row of an IBAN table; every fault goes to `errors` at `where`, and a row
/// with a fault gives none. Its place is the caller's to set.
ZORDTA_API std::optional<zor::IbanRow> ReadIbanRow(const InputRecord& record,
                                                   const std::string& where, Diagnostics& errors);
/// The same for a row of a mandate table.
ZORDTA_API std::optional<zor::MandateRow> ReadMandateRow(const InputRecord& record,
                                                         const std::string& where,
                                                         Diagnostics& errors);

/// "BLZ 37040044, Konto 532013000".
ZORDTA_API std::string AccountText(zor::DtausAccount account);

}  // namespace zor::entry
