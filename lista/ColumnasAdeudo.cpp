#include "lista/ColumnasAdeudo.h"

#include "lista/Cita.h"
#include "lista/Lista.h"
#include "lista/RemesaLista.h"

#include "sepa/Cuentas.h"

#include <algorithm>

namespace lista {

namespace {

constexpr char kBic[] = "BIC";
constexpr char kMandato[] = "Mandato";
constexpr char kFechaMandato[] = "Fecha del mandato";
constexpr char kTitular[] = "Titular";

// The bank checks end their sentences with a full stop; the list's messages do not.
QString Motivo(const std::string& motivo) {
    QString m = QString::fromStdString(motivo);
    if (m.endsWith(u'.'))
        m.chop(1);
    return m;
}

void Error(FilaRevisada& fila, const char* columna, const QString& motivo) {
    fila.errores
        << QStringLiteral("Fila %1, %2: %3").arg(fila.fila).arg(QString::fromUtf8(columna), motivo);
}

// A bank code, kept without spaces and upper-cased once it is right; empty is no code.
QString Codigo(const QString& celda, std::string& destino,
               std::string (*comprobar)(std::string_view)) {
    const std::string codigo = sepa::NormalizarCodigo(celda.toStdString());
    if (codigo.empty())
        return {};
    if (const std::string motivo = comprobar(codigo); !motivo.empty())
        return Motivo(motivo);
    destino = codigo;
    return {};
}

} // namespace

namespace reglas {

QString Iban(const QString& celda, ContextoFila& ctx) {
    return Codigo(celda, ctx.fila.adeudo.iban, &sepa::ComprobarIban);
}

QString Bic(const QString& celda, ContextoFila& ctx) {
    return Codigo(celda, ctx.fila.adeudo.bic, &sepa::ComprobarBic);
}

QString Mandato(const QString& celda, ContextoFila& ctx) {
    if (celda.trimmed().isEmpty())
        return {}; // required only of a row with an IBAN
    if (const std::string motivo = sepa::ComprobarMandato(celda.toStdString()); !motivo.empty())
        return Motivo(motivo);
    ctx.fila.adeudo.mandato = celda.trimmed().toStdString();
    return {};
}

QString FechaMandato(const QString& celda, ContextoFila& ctx) {
    if (celda.trimmed().isEmpty())
        return {};
    sepa::Fecha fecha;
    if (QString error = LeerFecha(celda, fecha); !error.isEmpty())
        return error;
    // The bank's dates begin in year 1: a date of year 0 is given, but is none a mandate was
    // signed on, and is refused as such once the collection date is known.
    ctx.fila.adeudo.fechaMandato = fecha.year() == std::chrono::year(0) ? sepa::Fecha{} : fecha;
    return {};
}

QString Titular(const QString& celda, ContextoFila& ctx) {
    if (celda.trimmed().isEmpty())
        return {}; // the payer's first line
    if (const std::string motivo = sepa::ComprobarTitular(celda.toStdString()); !motivo.empty())
        return Motivo(motivo);
    ctx.fila.adeudo.titular = celda.trimmed().toStdString();
    return {};
}

// The holder's address is kept as typed; the bank's rules check it once the row is complete,
// and only for an account outside the European Economic Area, where it is required.
QString PoblacionTitular(const QString& celda, ContextoFila& ctx) {
    ctx.fila.adeudo.direccion.poblacion = celda.trimmed().toStdString();
    return {};
}

QString PaisTitular(const QString& celda, ContextoFila& ctx) {
    ctx.fila.adeudo.direccion.pais = celda.trimmed().toStdString();
    return {};
}

QString DireccionTitular(const QString& celda, ContextoFila& ctx) {
    // A line break in the cell divides the address's lines.
    ctx.fila.adeudo.direccion.lineas.clear();
    for (const QString& linea : celda.split(u'\n'))
        if (!linea.trimmed().isEmpty())
            ctx.fila.adeudo.direccion.lineas.push_back(linea.trimmed().toStdString());
    return {};
}

QString Secuencia(const QString& celda, ContextoFila& ctx) {
    const auto secuencia = sepa::LeerSecuencia(celda.toStdString());
    if (!secuencia)
        return Motivo(sepa::ComprobarSecuencia(Cita(celda).toStdString())); // quotes the cell
    ctx.fila.adeudo.secuencia = *secuencia;
    return {};
}

} // namespace reglas

bool ConAdeudo(const FilaRevisada& fila) {
    return !fila.adeudo.iban.empty();
}

void CompletarAdeudo(FilaRevisada& fila) {
    if (!ConAdeudo(fila))
        return;
    const sepa::Adeudo adeudo = AdeudoDeFila(fila);
    if (const std::string motivo = sepa::ComprobarBicDeCuenta(adeudo.iban, adeudo.bic);
        !motivo.empty())
        Error(fila, kBic, Motivo(motivo));
    if (fila.adeudo.mandato.empty())
        Error(fila, kMandato, Motivo(sepa::ComprobarMandato({})));
    if (!fila.adeudo.fechaMandato)
        Error(fila, kFechaMandato, QStringLiteral("falta la fecha en que se firmó el mandato"));
    if (const std::string motivo = sepa::ComprobarTitular(adeudo.titular); !motivo.empty())
        Error(fila, kTitular, Motivo(motivo));
    if (const std::string motivo = sepa::ComprobarTotal(adeudo.total); !motivo.empty())
        Error(fila, "Total", Motivo(motivo));
    if (const auto p = sepa::ComprobarDireccion(adeudo.direccion, adeudo.iban)) {
        const char* columna = p->campo == "País"        ? "País del titular"
                              : p->campo == "Dirección" ? "Dirección del titular"
                                                        : "Población del titular";
        Error(fila, columna, Motivo(p->mensaje));
    }
}

sepa::Adeudo AdeudoDeFila(const FilaRevisada& fila) {
    sepa::Adeudo adeudo = sepa::AdeudoDelRecibo(fila.recibo);
    const DatosDeAdeudo& datos = fila.adeudo;
    adeudo.iban = datos.iban;
    adeudo.bic = datos.bic;
    adeudo.mandato = datos.mandato;
    if (!datos.titular.empty())
        adeudo.titular = datos.titular;
    adeudo.fechaMandato = datos.fechaMandato.value_or(sepa::Fecha{});
    adeudo.direccion = datos.direccion;
    adeudo.secuencia = datos.secuencia;
    return adeudo;
}

void ComprobarMandatosHasta(ListaRevisada& lista, sepa::Fecha cobro, sepa::Fecha hoy) {
    for (FilaRevisada& fila : lista.filas) {
        if (!fila.Valida() || !ConAdeudo(fila))
            continue;
        const sepa::Adeudo adeudo = AdeudoDeFila(fila);
        std::string motivo = sepa::ComprobarFechaMandato(adeudo.fechaMandato, cobro);
        if (motivo.empty())
            motivo = sepa::ComprobarFirmaMandato(adeudo.fechaMandato, hoy);
        if (!motivo.empty())
            Error(fila, kFechaMandato, Motivo(motivo));
    }
    // A mandate is for one account: each row whose mandate another row gives with another
    // IBAN, the other row named.
    std::vector<FilaRevisada*> filas;
    std::vector<sepa::Adeudo> mandatos;
    for (FilaRevisada& fila : lista.filas) {
        if (!ConAdeudo(fila) || fila.adeudo.mandato.empty())
            continue;
        filas.push_back(&fila);
        sepa::Adeudo& a = mandatos.emplace_back();
        a.iban = fila.adeudo.iban;
        a.mandato = fila.adeudo.mandato;
    }
    const auto otras = sepa::MandatosConOtraCuenta(mandatos);
    for (std::size_t i = 0; i < otras.size(); ++i) {
        if (!otras[i])
            continue;
        const std::string otra = "de la fila " + std::to_string(filas[*otras[i]]->fila);
        Error(*filas[i], kMandato, Motivo(sepa::MandatoConOtraCuenta(mandatos[i].mandato, otra)));
    }
}

qsizetype FilasSinAdeudo(const ListaRevisada& lista) {
    return std::count_if(lista.filas.begin(), lista.filas.end(),
                         [](const FilaRevisada& f) { return !ConAdeudo(f); });
}

} // namespace lista
