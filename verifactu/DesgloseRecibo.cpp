#include "verifactu/DesgloseRecibo.h"

#include "receipt/Impuestos.h"
#include "receipt/Recibo.h"
#include "receipt/TiposImpositivos.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

namespace verifactu {

namespace {

// The largest total of a simplified invoice without the payer's NIF: 400,00 euros.
const moneda::Currency kLimiteSimplificada(400 * 10000);

// The IVA rates the tax agency takes for invoices issued today, and the RE rate that goes
// with each (5,2 % with the 21 %, or 1,75 % for tobacco); a rate without a pair takes no RE.
// The program's original lists (IVA 7 and 16, RE 1 and 4) are rates of the past.
struct TipoVigente {
    std::int32_t iva;
    std::array<std::int32_t, 2> recargos;
};
constexpr std::array<TipoVigente, 4> kTiposVigentes{{
    {0, {0, 0}},
    {400, {50, 0}},
    {1000, {140, 0}},
    {2100, {520, 175}},
}};

std::string MotivoTipos(std::int32_t iva, std::int32_t re, const ImportesRecibo& im) {
    const auto vigente = std::find_if(kTiposVigentes.begin(), kTiposVigentes.end(),
                                      [&](const TipoVigente& t) { return t.iva == iva; });
    const std::string textoIva = tipos::Normalizar(tipos::Impuesto::Iva, im.iva).value_or(im.iva);
    if (vigente == kTiposVigentes.end())
        return "La AEAT no admite un IVA del " + textoIva +
               " %: los tipos vigentes son 0, 4, 10 y 21 %.";
    if (re == 0)
        return {};
    if (iva == 0)
        return "Un recibo sin IVA no lleva recargo de equivalencia.";
    if (std::find(vigente->recargos.begin(), vigente->recargos.end(), re) ==
        vigente->recargos.end())
        return "Un recargo de equivalencia del " +
               tipos::Normalizar(tipos::Impuesto::Re, im.re).value_or(im.re) +
               " % no va con un IVA del " + textoIva +
               " %: con el 21 % es el 5,2 % (o el 1,75 %), con el 10 % el 1,4 % y con el 4 % "
               "el 0,5 %.";
    return {};
}

} // namespace

ImportesRecibo ImportesDe(const CRecibo& r) {
    return {{r.m_Importe1, r.m_Importe2, r.m_Importe3, r.m_Importe4, r.m_Importe5},
            r.m_Iva,
            r.m_Re,
            r.m_Irpf,
            r.m_ImporteIva,
            r.m_ImporteRe,
            r.m_ImporteIrpf};
}

std::string TextoImporte(moneda::Currency importe) {
    const std::int64_t centimos = recibo::AlCentimo(importe).value() / 100;
    const std::int64_t magnitud = std::llabs(centimos);
    std::string decimales = std::to_string(magnitud % 100);
    if (decimales.size() < 2)
        decimales.insert(0, 1, '0');
    return (centimos < 0 ? "-" : "") + std::to_string(magnitud / 100) + "." + decimales;
}

std::string TextoPorcentaje(std::int32_t centesimas) {
    std::string texto = std::to_string(centesimas / 100);
    if (const std::int32_t resto = centesimas % 100; resto != 0) {
        texto += '.';
        texto += char('0' + resto / 10);
        if (resto % 10 != 0)
            texto += char('0' + resto % 10);
    }
    return texto;
}

Desglose Desglosar(const ImportesRecibo& im, IvaCero ivaCero) {
    Desglose d;
    const std::optional<std::int32_t> iva = tipos::Centesimas(tipos::Impuesto::Iva, im.iva);
    const std::optional<std::int32_t> re = tipos::Centesimas(tipos::Impuesto::Re, im.re);
    if (!iva || !re) {
        d.motivo = "El porcentaje de IVA o de RE del recibo no es un tipo de la lista.";
        return d;
    }
    if (d.motivo = MotivoTipos(*iva, *re, im); !d.motivo.empty())
        return d;
    // Each amount as the receipt prints it; the printed total is their sum less the IRPF.
    moneda::Currency suma;
    for (const moneda::Currency& c : im.conceptos)
        suma = suma + c;
    const moneda::Currency base = recibo::AlCentimo(suma);
    const moneda::Currency cuotaIva = recibo::AlCentimo(im.importeIva);
    const moneda::Currency cuotaRe = recibo::AlCentimo(im.importeRe);
    if (!base.isValid() || !cuotaIva.isValid() || !cuotaRe.isValid()) {
        d.motivo = "Los importes del recibo no caben en un registro.";
        return d;
    }
    LineaDesglose& l = d.linea;
    l.base = TextoImporte(base);
    if (*iva == 0 && ivaCero == IvaCero::Exenta) {
        // An exempt line carries its base alone: no rate, no quota, no RE.
        l.exencion = "E1";
    } else {
        l.calificacion = "S1";
        l.tipoImpositivo = TextoPorcentaje(*iva);
        l.cuota = TextoImporte(cuotaIva);
        if (*re != 0) {
            l.tipoRecargo = TextoPorcentaje(*re);
            l.cuotaRecargo = TextoImporte(cuotaRe);
        }
    }
    d.cuotaTotal = TextoImporte(cuotaIva + cuotaRe);
    d.importe = base + cuotaIva + cuotaRe;
    d.importeTotal = TextoImporte(d.importe);
    return d;
}

TipoFactura ElegirTipoFactura(bool conNifPagador, moneda::Currency importeTotal) {
    if (conNifPagador)
        return {"F1", {}};
    if (importeTotal.value() <= kLimiteSimplificada.value())
        return {"F2", {}};
    return {{},
            "Un recibo de más de 400,00 € con IVA incluido necesita el NIF del pagador: sin "
            "él solo cabe una factura simplificada, que no puede pasar de esa cantidad."};
}

} // namespace verifactu
