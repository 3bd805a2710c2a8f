// The character filters and the IBAN check, on field-sized texts.
#include <benchmark/benchmark.h>

#include "BenchSupport.h"

namespace zor::bench {
namespace {

// 27 characters: a name field, lower case, umlauts and signs outside the repertoires.
const AnsiString kFieldText = "J\xFCrgen M\xFC\xDFig & S\xF6hne (K\xF6ln)";

template <typename Filter>
void RunFilter(benchmark::State& state, Filter filter) {
  for (auto _ : state) {
    AnsiString result = filter(kFieldText);
    benchmark::DoNotOptimize(result.data());
  }
  state.SetItemsProcessed(state.iterations());
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kFieldText.size()));
}

void DTAUS_RemoveInvalidChars(benchmark::State& state) {
  TZorDTA dta(nullptr);
  RunFilter(state, [&](const AnsiString& s) { return dta.RemoveInvalidChars(s); });
}
BENCHMARK(DTAUS_RemoveInvalidChars);

void DTAZV_RemoveInvalidChars(benchmark::State& state) {
  TZorDTAZV dta(nullptr);
  RunFilter(state, [&](const AnsiString& s) { return dta.RemoveInvalidChars(s); });
}
BENCHMARK(DTAZV_RemoveInvalidChars);

void DTAUS_DecodeChars(benchmark::State& state) {
  const AnsiString encoded = "J[RGEN M]~IG & S\\HNE KOELN";
  for (auto _ : state) {
    AnsiString result = TZorDTA::DecodeChars(encoded);
    benchmark::DoNotOptimize(result.data());
  }
  state.SetItemsProcessed(state.iterations());
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(encoded.size()));
}
BENCHMARK(DTAUS_DecodeChars);

void DTAZV_ValidateIBAN(benchmark::State& state) {
  TZorDTAZV dta(nullptr);
  const AnsiString iban = "DE89370400440532013000";
  for (auto _ : state) benchmark::DoNotOptimize(dta.ValidateIBAN(iban));
  state.SetItemsProcessed(state.iterations());
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(iban.size()));
}
BENCHMARK(DTAZV_ValidateIBAN);

}  // namespace
}  // namespace zor::bench
