#include "lista/Columnas.h"

#include "lista/Cita.h"
#include "lista/ColumnasAdeudo.h"
#include "lista/ReglasFila.h"

#include "amounts/SinAcentos.h"

#include <QHash>
#include <QLocale>

#include <array>

namespace lista {

namespace {

using namespace reglas;

template <std::size_t N> using Nombres = std::array<const char*, N>;

// The other names of each column: the register's own column names, and the plain forms
// a person types.
constexpr Nombres<1> kNumero{"numero"};
constexpr Nombres<1> kPagador1{"pagador1"};
constexpr Nombres<1> kPagador2{"pagador2"};
constexpr Nombres<1> kCobrador1{"cobrador1"};
constexpr Nombres<1> kCobrador2{"cobrador2"};
constexpr Nombres<2> kConcepto1{"concepto1", "concepto"};
constexpr Nombres<1> kConcepto2{"concepto2"};
constexpr Nombres<1> kConcepto3{"concepto3"};
constexpr Nombres<1> kConcepto4{"concepto4"};
constexpr Nombres<1> kConcepto5{"concepto5"};
constexpr Nombres<2> kImporte1{"importe1", "importe"};
constexpr Nombres<1> kImporte2{"importe2"};
constexpr Nombres<1> kImporte3{"importe3"};
constexpr Nombres<1> kImporte4{"importe4"};
constexpr Nombres<1> kImporte5{"importe5"};
constexpr Nombres<1> kImporteIva{"importe_iva"};
constexpr Nombres<1> kImporteRe{"importe_re"};
constexpr Nombres<1> kImporteIrpf{"importe_irpf"};
constexpr Nombres<1> kReferenciaMandato{"referencia del mandato"};
constexpr Nombres<1> kFechaDelMandato{"fecha mandato"};
constexpr Nombres<1> kNifPagador{"nif_pagador"};
constexpr Nombres<0> kNinguno{};

// Unknown columns named in the warning; the rest are counted.
constexpr qsizetype kDesconocidasNombradas = 10;

// clang-format off
constexpr std::array kColumnas{
    Columna{"Número", kNumero, &Numero},
    Columna{"Fecha", kNinguno, &Fecha},
    Columna{"Localidad", kNinguno, &Localidad},
    Columna{"Vencimiento", kNinguno, &Vencimiento},
    Columna{"Pagador", kPagador1, &Pagador1},
    Columna{"Pagador (2ª línea)", kPagador2, &Pagador2},
    Columna{"Dirección", kNinguno, &Direccion},
    // Read only when receipts leave as invoices (lista/FacturasLista.h).
    Columna{"NIF del pagador", kNifPagador, &NifPagador},
    Columna{"Cobrador", kCobrador1, &Cobrador1},
    Columna{"Cobrador (2ª línea)", kCobrador2, &Cobrador2},
    Columna{"Concepto 1", kConcepto1, &Concepto<1>}, Columna{"Importe 1", kImporte1, &Importe<1>},
    Columna{"Concepto 2", kConcepto2, &Concepto<2>}, Columna{"Importe 2", kImporte2, &Importe<2>},
    Columna{"Concepto 3", kConcepto3, &Concepto<3>}, Columna{"Importe 3", kImporte3, &Importe<3>},
    Columna{"Concepto 4", kConcepto4, &Concepto<4>}, Columna{"Importe 4", kImporte4, &Importe<4>},
    Columna{"Concepto 5", kConcepto5, &Concepto<5>}, Columna{"Importe 5", kImporte5, &Importe<5>},
    Columna{"% IVA", kNinguno, &PorcentajeIva},
    Columna{"% RE", kNinguno, &PorcentajeRe},
    Columna{"% IRPF", kNinguno, &PorcentajeIrpf},
    Columna{"IVA", kImporteIva, &ImporteIva},
    Columna{"RE", kImporteRe, &ImporteRe},
    Columna{"IRPF", kImporteIrpf, &ImporteIrpf},
    Columna{"Total", kNinguno, &Total},
    Columna{"Color", kNinguno, &Color},
    Columna{"Relleno", kNinguno, &Relleno},
    // The direct debit of the receipt.
    Columna{"IBAN", kNinguno, &Iban},
    Columna{"BIC", kNinguno, &Bic},
    Columna{"Mandato", kReferenciaMandato, &Mandato},
    Columna{"Fecha del mandato", kFechaDelMandato, &FechaMandato},
    Columna{"Titular", kNinguno, &Titular},
    // Written only for an account outside the European Economic Area, where it is required.
    Columna{"Población del titular", kNinguno, &PoblacionTitular},
    Columna{"País del titular", kNinguno, &PaisTitular},
    Columna{"Dirección del titular", kNinguno, &DireccionTitular},
    Columna{"Secuencia", kNinguno, &Secuencia},
    // What the export writes about the issue itself: read and ignored.
    Columna{"Emitido", kNinguno, nullptr},
    Columna{"Destino", kNinguno, nullptr},
    Columna{"Registro", kNinguno, nullptr},
};
// clang-format on

const QHash<QString, const Columna*>& PorClave() {
    static const QHash<QString, const Columna*> indice = [] {
        QHash<QString, const Columna*> h;
        for (const Columna& c : kColumnas) {
            h.insert(ClaveDeColumna(QString::fromUtf8(c.titulo)), &c);
            for (const char* otro : c.otros)
                h.insert(ClaveDeColumna(QString::fromUtf8(otro)), &c);
        }
        return h;
    }();
    return indice;
}

} // namespace

std::span<const Columna> TablaDeColumnas() {
    return kColumnas;
}

QString ClaveDeColumna(const QString& titulo) {
    // Compatibility decomposition also turns "ª" into "a".
    QString clave = QStringView(moneda::SinAcentos(titulo.toStdU16String(),
                                                   moneda::Descomposicion::Compatibilidad,
                                                   moneda::Marcas::SinEspacio))
                        .toString()
                        .toLower();
    clave.removeIf([](QChar c) { return c.isSpace() || c == u'_'; });
    return clave;
}

bool Cabecera::Tiene(const char* titulo) const {
    for (const Columna* c : columnas)
        if (c != nullptr && qstrcmp(c->titulo, titulo) == 0)
            return true;
    return false;
}

Cabecera LeerCabecera(const QStringList& titulos) {
    Cabecera cab;
    cab.titulos = titulos;
    QHash<const Columna*, qsizetype> vista;
    QStringList desconocidas;
    qsizetype masDesconocidas = 0;
    for (qsizetype i = 0; i < titulos.size(); ++i) {
        const QString& t = titulos[i];
        const Columna* c = PorClave().value(ClaveDeColumna(t), nullptr);
        cab.columnas.push_back(c);
        if (c == nullptr) {
            // Named in one warning, and only the first few: a sheet may have hundreds.
            if (t.trimmed().isEmpty())
                continue;
            if (desconocidas.size() < kDesconocidasNombradas)
                desconocidas << QStringLiteral("«%1» (columna %2)").arg(Cita(t)).arg(i + 1);
            else
                ++masDesconocidas;
            continue;
        }
        if (vista.contains(c)) {
            cab.error = QStringLiteral("la columna «%1» está dos veces (columnas %2 y %3)")
                            .arg(QString::fromUtf8(c->titulo))
                            .arg(vista.value(c) + 1)
                            .arg(i + 1);
            return cab;
        }
        vista.insert(c, i);
    }
    if (masDesconocidas > 0)
        desconocidas << QStringLiteral("%1 más").arg(
            QLocale(QLocale::Spanish).toString(masDesconocidas));
    if (desconocidas.size() == 1)
        cab.desconocidas << QStringLiteral("La columna %1 no es de Talvero: se ignora")
                                .arg(desconocidas.front());
    else if (!desconocidas.isEmpty())
        cab.desconocidas << QStringLiteral("Las columnas %1 no son de Talvero: se ignoran")
                                .arg(QLocale(QLocale::Spanish).createSeparatedList(desconocidas));
    return cab;
}

} // namespace lista
