// A receipt's amounts as a record declares them: its tax line, CuotaTotal and ImporteTotal,
// each exactly as the printed receipt shows it to the cent. IRPF is a withholding, not a tax
// the issuer charges: it stays out of ImporteTotal, which is what the payer owes before it,
// and out of the record altogether. Standard C++.
#pragma once

#include "amounts/moneda.h"
#include "verifactu/Registro.h"

#include <array>
#include <cstdint>
#include <string>

class CRecibo;

namespace verifactu {

// What the form computed for a receipt: its five concept amounts, the three percentages as
// chosen ("21", "5,2") and the three tax amounts.
struct ImportesRecibo {
    std::array<moneda::Currency, 5> conceptos;
    std::string iva, re, irpf;
    moneda::Currency importeIva, importeRe, importeIrpf;
};

// The receipt's amounts before it is drawn (drawing rewrites its percentages into labels).
ImportesRecibo ImportesDe(const CRecibo& recibo);

// How a receipt at IVA 0 is declared: exempt under art. 20 of the IVA law (most
// receipts at 0 % are rents of dwellings, teaching or health care), or taxed at 0 %.
enum class IvaCero { Exenta, TipoCero };

struct Desglose {
    LineaDesglose linea;
    std::string cuotaTotal;   // IVA plus RE
    std::string importeTotal; // base plus IVA plus RE
    moneda::Currency importe; // ImporteTotal as an amount, for the invoice type
    std::string motivo;       // why the receipt cannot be declared so; empty when it can
};

Desglose Desglosar(const ImportesRecibo& importes, IvaCero ivaCero);

// An amount as the record writes it: rounded to the cent as the receipt prints it, "."
// before the two decimals, no thousands separator: 1234,5 gives "1234.50".
std::string TextoImporte(moneda::Currency importe);

// A percentage in hundredths as the record writes it: 520 gives "5.2", 2100 gives "21".
std::string TextoPorcentaje(std::int32_t centesimas);

// The invoice type of a receipt: F1, a full invoice, when the payer's NIF is on it; F2, a
// simplified one, without it, which the law allows only up to 400 euros IVA included.
struct TipoFactura {
    std::string tipo;   // empty when neither fits
    std::string motivo; // why, then
};
TipoFactura ElegirTipoFactura(bool conNifPagador, moneda::Currency importeTotal);

} // namespace verifactu
