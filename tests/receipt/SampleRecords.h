// Sample receipt records for the tests, built the way the print command fills them. One
// library of them (talvero_samples), linked by every test that needs a receipt.
#pragma once

#include "receipt/Recibo.h"

#include <cstdint>
#include <string>

namespace sample {

// A valid amount of `cents` hundredths of a euro.
moneda::Currency Euros(std::int64_t cents);

// Concept lines 1..n, each with a text and an amount of k euros (k = 1..n).
void AddConcepts(CRecibo& r, int n);

// The receipt used for the printed sample: two concepts, IVA and IRPF.
CRecibo Filled();

// A different, plausible receipt for every `n`: numbers counting up from 1 with a fixed
// width, accented Spanish names, one to five concepts, the form's colours and fills, dates
// spread over several years; every 97th has a not-valid amount. The same `n` always gives
// the same receipt.
CRecibo Varied(std::uint64_t n);

// Texts that spreadsheets and CSV readers trip over: ";", quotes, line breaks, leading
// "=", "+", "-" and "@", accents, and amounts that are null or invalid.
CRecibo Awkward();

} // namespace sample
