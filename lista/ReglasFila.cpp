#include "lista/ReglasFila.h"

#include "lista/Cita.h"

#include "amounts/SinAcentos.h"
#include "platform/SettingsStore.h"
#include "receipt/Impuestos.h"
#include "receipt/LimitesCampos.h"
#include "receipt/ReciboTexto.h"
#include "receipt/TiposImpositivos.h"

#include <QRegularExpression>

#include <array>

namespace lista {

namespace {

QString Citado(const QString& celda) {
    return QLatin1Char('"') + Cita(celda) + QLatin1Char('"');
}

// A text field: at most `maximo` characters as the form's edit counts them, one line.
QString Texto(const QString& celda, int maximo, std::string& destino) {
    if (celda.contains(u'\n') || celda.contains(u'\r'))
        return QStringLiteral("tiene un salto de línea; el recibo lleva una sola línea aquí");
    if (celda.size() > maximo)
        return QStringLiteral("%1 tiene %2 caracteres; caben %3")
            .arg(Citado(celda))
            .arg(celda.size())
            .arg(maximo);
    destino = celda.toStdString();
    return {};
}

// The same for the fields whose first letter the form capitalises.
QString TextoCapitalizado(const QString& celda, int maximo, std::string& destino) {
    const QString error = Texto(celda, maximo, destino);
    destino = moneda::CapitalizeFirst(destino);
    return error;
}

QString Lista(const std::vector<std::string>& items) {
    QStringList t;
    for (const std::string& i : items)
        t << QString::fromStdString(i);
    return t.join(QStringLiteral(", "));
}

QString Porcentaje(const QString& celda, tipos::Impuesto impuesto,
                   const std::vector<std::string>& permitidos, const char* nombre,
                   std::string& destino) {
    if (celda.trimmed().isEmpty()) {
        destino.assign(1, '0');
        return {};
    }
    QString limpio = celda.trimmed();
    if (limpio.endsWith(u'%'))
        limpio = limpio.chopped(1).trimmed();
    const auto item = tipos::Normalizar(impuesto, limpio.toStdString());
    if (!item || std::find(permitidos.begin(), permitidos.end(), *item) == permitidos.end())
        return QStringLiteral("%1 no es un porcentaje de la lista de %2 (%3)")
            .arg(Citado(celda), QLatin1String(nombre), Lista(permitidos));
    destino = *item;
    return {};
}

QString Declarar(const QString& celda, ContextoFila& ctx, std::optional<Declarado>& destino) {
    if (celda.trimmed().isEmpty())
        return {};
    moneda::Currency importe;
    if (QString error = LeerImporte(celda, importe); !error.isEmpty())
        return error;
    destino = Declarado{ctx.columna, importe};
    return {};
}

// Upper case without accents: "Marrón" and "MARRON" are the same item.
QString Llano(const QString& texto) {
    return QStringView(moneda::SinAcentos(texto.trimmed().toStdU16String(),
                                          moneda::Descomposicion::Canonica,
                                          moneda::Marcas::SinEspacio))
        .toString()
        .toUpper();
}

} // namespace

TiposPermitidos TiposDeAjustes(const platform::SettingsStore& ajustes) {
    return {
        tipos::DesdeTexto(tipos::Impuesto::Iva,
                          ajustes.GetString(platform::kTalveroSection, "TiposIVA")),
        tipos::DesdeTexto(tipos::Impuesto::Re,
                          ajustes.GetString(platform::kTalveroSection, "TiposRE")),
        tipos::DesdeTexto(tipos::Impuesto::Irpf,
                          ajustes.GetString(platform::kTalveroSection, "TiposIRPF")),
    };
}

QString LeerImporte(const QString& celda, moneda::Currency& importe) {
    QString t = celda.trimmed();
    if (t.endsWith(u'€'))
        t = t.chopped(1).trimmed();
    else if (t.startsWith(u'€'))
        t = t.mid(1).trimmed();
    if (t.isEmpty()) {
        importe = moneda::Currency(0);
        return {};
    }
    const moneda::Currency leido = moneda::ParseCurrency(t.toStdString());
    if (!leido.isValid())
        return QStringLiteral("%1 no es un importe").arg(Citado(celda));
    // A spreadsheet saves 650/3 unformatted as "216,666666666667": the receipt would print
    // each line rounded and the total of the unrounded ones, and they would not add up.
    // Zeros past the cent change nothing.
    if (const qsizetype coma = t.indexOf(u','); coma >= 0) {
        const QStringView decimales = QStringView(t).sliced(coma + 1).trimmed();
        const QStringView trasElCentimo =
            decimales.size() > 2 ? decimales.sliced(2) : QStringView();
        if (trasElCentimo.count(u'0') != trasElCentimo.size())
            return QStringLiteral("%1 tiene más de dos decimales: redondee a céntimos en la "
                                  "hoja de cálculo")
                .arg(Citado(celda));
    }
    importe = leido;
    return {};
}

QString LeerFecha(const QString& celda, std::chrono::year_month_day& fecha, int anioMinimo,
                  int anioMaximo) {
    static const QRegularExpression forma(
        QStringLiteral("^(\\d{1,2})/(\\d{1,2})/(\\d{2}|\\d{4})$"));
    const auto m = forma.match(celda.trimmed());
    const QString uso = QStringLiteral("%1 no es una fecha válida: escriba dd/mm/aaaa, por ejemplo "
                                       "05/03/2024")
                            .arg(Citado(celda));
    if (!m.hasMatch())
        return uso;
    const int dia = m.captured(1).toInt();
    const int mes = m.captured(2).toInt();
    int anio = m.captured(3).toInt();
    if (m.captured(3).size() == 2)
        anio += 2000; // as a Spanish spreadsheet writes this century's dates
    if (dia < limites::kDiaMinimo || dia > limites::kDiaMaximo)
        return uso;
    if (anio < anioMinimo || anio > anioMaximo)
        return QStringLiteral("el año de %1 no está entre %2 y %3")
            .arg(Citado(celda))
            .arg(anioMinimo)
            .arg(anioMaximo);
    const std::chrono::year_month_day leida{std::chrono::year(anio),
                                            std::chrono::month(unsigned(mes)),
                                            std::chrono::day(unsigned(dia))};
    if (!leida.ok())
        return uso;
    fecha = leida;
    return {};
}

QString TextoEuros(moneda::Currency importe) {
    return QString::fromStdString(moneda::FormatEuros(importe)) + QStringLiteral(" €");
}

namespace reglas {

QString Numero(const QString& celda, ContextoFila& ctx) {
    ctx.fila.conNumero = !celda.trimmed().isEmpty();
    if (!ctx.fila.conNumero) {
        ctx.fila.recibo.m_Numero.clear(); // numbered later
        return {};
    }
    return Texto(celda.trimmed(), limites::kNumero, ctx.fila.recibo.m_Numero);
}

QString Fecha(const QString& celda, ContextoFila& ctx) {
    if (celda.trimmed().isEmpty())
        return {}; // the template's date
    std::chrono::year_month_day fecha;
    if (QString error = LeerFecha(celda, fecha, limites::kAnioMinimo, limites::kAnioMaximo);
        !error.isEmpty())
        return error;
    // At the form's time of day.
    ctx.fila.recibo.m_Fecha = moneda::Fecha(int(fecha.year()), int(unsigned(fecha.month())),
                                            int(unsigned(fecha.day())), 1, 1, 1);
    return {};
}

QString Localidad(const QString& celda, ContextoFila& ctx) {
    return TextoCapitalizado(celda, limites::kLocalidad, ctx.fila.recibo.m_Localidad);
}
QString Vencimiento(const QString& celda, ContextoFila& ctx) {
    return Texto(celda, limites::kVencimiento, ctx.fila.recibo.m_Vencimiento);
}
QString Pagador1(const QString& celda, ContextoFila& ctx) {
    return TextoCapitalizado(celda, limites::kPagador, ctx.fila.recibo.m_Pagador1);
}
QString Pagador2(const QString& celda, ContextoFila& ctx) {
    return Texto(celda, limites::kPagador, ctx.fila.recibo.m_Pagador2);
}
// Kept as written: it is checked only when the receipt leaves as an invoice.
QString NifPagador(const QString& celda, ContextoFila& ctx) {
    ctx.fila.nifPagador = celda.trimmed();
    return {};
}
QString Direccion(const QString& celda, ContextoFila& ctx) {
    return Texto(celda, limites::kDireccion, ctx.fila.recibo.m_Direccion);
}
QString Cobrador1(const QString& celda, ContextoFila& ctx) {
    return TextoCapitalizado(celda, limites::kCobrador, ctx.fila.recibo.m_Cobrador1);
}
QString Cobrador2(const QString& celda, ContextoFila& ctx) {
    return Texto(celda, limites::kCobrador, ctx.fila.recibo.m_Cobrador2);
}

template <int N> QString Concepto(const QString& celda, ContextoFila& ctx) {
    CRecibo& r = ctx.fila.recibo;
    const std::array<std::string*, 5> conceptos{&r.m_Concepto1, &r.m_Concepto2, &r.m_Concepto3,
                                                &r.m_Concepto4, &r.m_Concepto5};
    return Texto(celda, limites::kConcepto, *conceptos[N - 1]);
}

template <int N> QString Importe(const QString& celda, ContextoFila& ctx) {
    CRecibo& r = ctx.fila.recibo;
    const std::array<moneda::Currency*, 5> importes{&r.m_Importe1, &r.m_Importe2, &r.m_Importe3,
                                                    &r.m_Importe4, &r.m_Importe5};
    return LeerImporte(celda, *importes[N - 1]);
}

template QString Concepto<1>(const QString&, ContextoFila&);
template QString Concepto<2>(const QString&, ContextoFila&);
template QString Concepto<3>(const QString&, ContextoFila&);
template QString Concepto<4>(const QString&, ContextoFila&);
template QString Concepto<5>(const QString&, ContextoFila&);
template QString Importe<1>(const QString&, ContextoFila&);
template QString Importe<2>(const QString&, ContextoFila&);
template QString Importe<3>(const QString&, ContextoFila&);
template QString Importe<4>(const QString&, ContextoFila&);
template QString Importe<5>(const QString&, ContextoFila&);

QString PorcentajeIva(const QString& celda, ContextoFila& ctx) {
    return Porcentaje(celda, tipos::Impuesto::Iva, ctx.tipos.iva, "IVA", ctx.fila.recibo.m_Iva);
}
QString PorcentajeRe(const QString& celda, ContextoFila& ctx) {
    return Porcentaje(celda, tipos::Impuesto::Re, ctx.tipos.re, "RE", ctx.fila.recibo.m_Re);
}
QString PorcentajeIrpf(const QString& celda, ContextoFila& ctx) {
    return Porcentaje(celda, tipos::Impuesto::Irpf, ctx.tipos.irpf, "IRPF", ctx.fila.recibo.m_Irpf);
}

QString ImporteIva(const QString& celda, ContextoFila& ctx) {
    return Declarar(celda, ctx, ctx.iva);
}
QString ImporteRe(const QString& celda, ContextoFila& ctx) {
    return Declarar(celda, ctx, ctx.re);
}
QString ImporteIrpf(const QString& celda, ContextoFila& ctx) {
    return Declarar(celda, ctx, ctx.irpf);
}
QString Total(const QString& celda, ContextoFila& ctx) {
    return Declarar(celda, ctx, ctx.total);
}

QString Color(const QString& celda, ContextoFila& ctx) {
    static constexpr std::array<const char*, 4> kNombres{"AZUL", "GRIS", "MARRÓN", "VERDE"};
    const QString llano = Llano(celda);
    for (const char* nombre : kNombres) {
        const ColorRef color = ColorDeNombre(nombre);
        // Older exports of the register wrote the colour as hexadecimal 0xBBGGRR.
        const QString hex = QStringLiteral("%1").arg(color, 6, 16, QLatin1Char('0')).toUpper();
        if (llano == Llano(QString::fromUtf8(nombre)) || llano == hex) {
            ctx.fila.recibo.m_ColorFondo = color;
            return {};
        }
    }
    if (celda.trimmed().isEmpty()) {
        ctx.fila.recibo.m_ColorFondo = ColorDeNombre("AZUL"); // the form's colour when empty
        return {};
    }
    return QStringLiteral("%1 no es un color de la lista (AZUL, GRIS, MARRÓN, VERDE)")
        .arg(Citado(celda));
}

QString Relleno(const QString& celda, ContextoFila& ctx) {
    const QString llano = Llano(celda);
    if (llano == QLatin1String("SOLIDO") || llano == QLatin1String("LINEAS") || llano.isEmpty()) {
        ctx.fila.recibo.m_Solido = llano == QLatin1String("SOLIDO") ? 1 : 0;
        return {};
    }
    return QStringLiteral("%1 no es un relleno de la lista (LINEAS, SOLIDO)").arg(Citado(celda));
}

} // namespace reglas

void CompletarFila(ContextoFila& ctx) {
    CRecibo& r = ctx.fila.recibo;
    const recibo::Impuestos calculo = recibo::CalcularImpuestos(
        {r.m_Importe1, r.m_Importe2, r.m_Importe3, r.m_Importe4, r.m_Importe5}, r.m_Iva, r.m_Re,
        r.m_Irpf);
    // The record holds each tax as the form shows it, to the cent, and prints their sum.
    r.m_ImporteIva = recibo::AlCentimo(calculo.iva);
    r.m_ImporteRe = recibo::AlCentimo(calculo.re);
    r.m_ImporteIrpf = recibo::AlCentimo(calculo.irpf);
    const moneda::Currency total = recibo::TotalRecibo(r);
    if (!calculo.total.isValid() || !r.m_ImporteIva.isValid() || !r.m_ImporteRe.isValid() ||
        !r.m_ImporteIrpf.isValid()) {
        ctx.fila.errores << QStringLiteral("Fila %1: los importes suman más de lo que cabe en "
                                           "un recibo")
                                .arg(ctx.fila.fila);
        return;
    }
    const auto comparar = [&](const std::optional<Declarado>& d, moneda::Currency calculado) {
        if (d && recibo::AlCentimo(d->importe) != recibo::AlCentimo(calculado))
            ctx.fila.errores << QStringLiteral("Fila %1, %2: dice %3 y Talvero calcula %4")
                                    .arg(ctx.fila.fila)
                                    .arg(d->columna, TextoEuros(d->importe), TextoEuros(calculado));
    };
    comparar(ctx.iva, r.m_ImporteIva);
    comparar(ctx.re, r.m_ImporteRe);
    comparar(ctx.irpf, r.m_ImporteIrpf);
    comparar(ctx.total, total);
}

} // namespace lista
