// Sample receipts that leave as invoices, and the issuer that emits them, for every test of
// the VERI*FACTU records (one library, talvero_factura_test_support).
#pragma once

#include "receipt/Recibo.h"
#include "register/Facturar.h"

#include <string>

namespace muestra {

// The issuer of the samples: NIF 12345678Z, test environment, today 2026-01-20.
registro::Facturacion Emisor();

// A receipt as the form fills it: one concept of `base` euro cents, the percentages as the
// lists write them ("21", "5,2", "15"), taxes computed as the form does, dated 2026-01-15,
// paid by "ANA PÉREZ GIL" whose second line is `pagador2`.
CRecibo Factura(const std::string& numero, std::int64_t base, const std::string& iva,
                const std::string& re = "0", const std::string& irpf = "0",
                const std::string& pagador2 = "NIF 00000000T");

} // namespace muestra
