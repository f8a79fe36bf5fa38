#include "lista/ColumnasAdeudo.h"

#include "lista/Cita.h"
#include "lista/Lista.h"
#include "lista/RemesaLista.h"

#include "sepa/Cuentas.h"

#include <QDate>

#include <algorithm>

namespace lista {

namespace {

constexpr char kIban[] = "IBAN";
constexpr char kBic[] = "BIC";
constexpr char kMandato[] = "Mandato";
constexpr char kFechaMandato[] = "Fecha del mandato";
constexpr char kTitular[] = "Titular";
constexpr char kSecuencia[] = "Secuencia";

// The bank checks end their sentences with a full stop; the list's messages do not.
QString Motivo(const std::string& motivo) {
    QString m = QString::fromStdString(motivo);
    if (m.endsWith(u'.'))
        m.chop(1);
    return m;
}

QString Extra(const FilaRevisada& fila, const char* columna) {
    const auto it = fila.extra.find(QString::fromUtf8(columna));
    return it == fila.extra.end() ? QString() : it->second;
}

void Guardar(ContextoFila& ctx, const char* columna, const QString& valor) {
    if (!valor.isEmpty())
        ctx.fila.extra[QString::fromUtf8(columna)] = valor;
}

void Error(FilaRevisada& fila, const char* columna, const QString& motivo) {
    fila.errores
        << QStringLiteral("Fila %1, %2: %3").arg(fila.fila).arg(QString::fromUtf8(columna), motivo);
}

// A bank code, kept without spaces and upper-cased once it is right; empty is no code.
QString Codigo(const QString& celda, ContextoFila& ctx, const char* columna,
               std::string (*comprobar)(std::string_view)) {
    const std::string codigo = sepa::NormalizarCodigo(celda.toStdString());
    if (codigo.empty())
        return {};
    if (const std::string motivo = comprobar(codigo); !motivo.empty())
        return Motivo(motivo);
    Guardar(ctx, columna, QString::fromStdString(codigo));
    return {};
}

} // namespace

namespace reglas {

QString Iban(const QString& celda, ContextoFila& ctx) {
    return Codigo(celda, ctx, kIban, &sepa::ComprobarIban);
}

QString Bic(const QString& celda, ContextoFila& ctx) {
    return Codigo(celda, ctx, kBic, &sepa::ComprobarBic);
}

QString Mandato(const QString& celda, ContextoFila& ctx) {
    if (celda.trimmed().isEmpty())
        return {}; // required only of a row with an IBAN
    if (const std::string motivo = sepa::ComprobarMandato(celda.toStdString()); !motivo.empty())
        return Motivo(motivo);
    Guardar(ctx, kMandato, celda.trimmed());
    return {};
}

QString FechaMandato(const QString& celda, ContextoFila& ctx) {
    if (celda.trimmed().isEmpty())
        return {};
    sepa::Fecha fecha;
    if (QString error = LeerFecha(celda, fecha); !error.isEmpty())
        return error;
    Guardar(ctx, kFechaMandato, QString::fromStdString(sepa::TextoIso(fecha)));
    return {};
}

QString Titular(const QString& celda, ContextoFila& ctx) {
    if (celda.trimmed().isEmpty())
        return {}; // the payer's first line
    if (const std::string motivo = sepa::ComprobarTitular(celda.toStdString()); !motivo.empty())
        return Motivo(motivo);
    Guardar(ctx, kTitular, celda.trimmed());
    return {};
}

QString Secuencia(const QString& celda, ContextoFila& ctx) {
    const auto secuencia = sepa::LeerSecuencia(celda.toStdString());
    if (!secuencia)
        return Motivo(sepa::ComprobarSecuencia(Cita(celda).toStdString())); // quotes the cell
    Guardar(ctx, kSecuencia, QString::fromUtf8(sepa::CodigoSecuencia(*secuencia)));
    return {};
}

} // namespace reglas

bool ConAdeudo(const FilaRevisada& fila) {
    return fila.extra.contains(QString::fromUtf8(kIban));
}

void CompletarAdeudo(FilaRevisada& fila) {
    if (!ConAdeudo(fila))
        return;
    const sepa::Adeudo adeudo = AdeudoDeFila(fila);
    if (const std::string motivo = sepa::ComprobarBicDeCuenta(adeudo.iban, adeudo.bic);
        !motivo.empty())
        Error(fila, kBic, Motivo(motivo));
    if (Extra(fila, kMandato).isEmpty())
        Error(fila, kMandato, Motivo(sepa::ComprobarMandato({})));
    if (Extra(fila, kFechaMandato).isEmpty())
        Error(fila, kFechaMandato, QStringLiteral("falta la fecha en que se firmó el mandato"));
    if (const std::string motivo = sepa::ComprobarTitular(adeudo.titular); !motivo.empty())
        Error(fila, kTitular, Motivo(motivo));
    if (const std::string motivo = sepa::ComprobarTotal(adeudo.total); !motivo.empty())
        Error(fila, "Total", Motivo(motivo));
}

sepa::Adeudo AdeudoDeFila(const FilaRevisada& fila) {
    sepa::Adeudo adeudo = sepa::AdeudoDelRecibo(fila.recibo);
    adeudo.iban = Extra(fila, kIban).toStdString();
    adeudo.bic = Extra(fila, kBic).toStdString();
    adeudo.mandato = Extra(fila, kMandato).toStdString();
    if (const QString titular = Extra(fila, kTitular); !titular.isEmpty())
        adeudo.titular = titular.toStdString();
    adeudo.fechaMandato = FechaDe(QDate::fromString(Extra(fila, kFechaMandato), Qt::ISODate));
    adeudo.secuencia =
        sepa::LeerSecuencia(Extra(fila, kSecuencia).toStdString()).value_or(sepa::Secuencia::RCUR);
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
        if (!ConAdeudo(fila) || Extra(fila, kMandato).isEmpty())
            continue;
        filas.push_back(&fila);
        sepa::Adeudo& a = mandatos.emplace_back();
        a.iban = Extra(fila, kIban).toStdString();
        a.mandato = Extra(fila, kMandato).toStdString();
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
