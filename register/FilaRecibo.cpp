#include "register/FilaRecibo.h"

#include "receipt/ReciboTexto.h"
#include "register/Normalizar.h"

#include <QRegularExpression>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

#include <array>
#include <limits>
#include <utility>

namespace registro {

namespace {

struct Texto {
    const char* columna;
    std::string CRecibo::*campo;
};

struct Importe {
    const char* columna;
    moneda::Currency CRecibo::*campo;
};

// clang-format off
constexpr std::array<Texto, 16> kTextos{{
    {"numero", &CRecibo::m_Numero},         {"localidad", &CRecibo::m_Localidad},
    {"vencimiento", &CRecibo::m_Vencimiento},
    {"concepto1", &CRecibo::m_Concepto1},   {"concepto2", &CRecibo::m_Concepto2},
    {"concepto3", &CRecibo::m_Concepto3},   {"concepto4", &CRecibo::m_Concepto4},
    {"concepto5", &CRecibo::m_Concepto5},
    {"iva", &CRecibo::m_Iva},               {"re", &CRecibo::m_Re},
    {"irpf", &CRecibo::m_Irpf},
    {"direccion", &CRecibo::m_Direccion},
    {"pagador1", &CRecibo::m_Pagador1},     {"pagador2", &CRecibo::m_Pagador2},
    {"cobrador1", &CRecibo::m_Cobrador1},   {"cobrador2", &CRecibo::m_Cobrador2},
}};

constexpr std::array<Importe, 8> kImportes{{
    {"importe1", &CRecibo::m_Importe1},     {"importe2", &CRecibo::m_Importe2},
    {"importe3", &CRecibo::m_Importe3},     {"importe4", &CRecibo::m_Importe4},
    {"importe5", &CRecibo::m_Importe5},     {"importe_iva", &CRecibo::m_ImporteIva},
    {"importe_re", &CRecibo::m_ImporteRe},  {"importe_irpf", &CRecibo::m_ImporteIrpf},
}};
// clang-format on

// The texts that the search field looks in.
constexpr std::array kBuscables{
    &CRecibo::m_Numero,    &CRecibo::m_Pagador1,  &CRecibo::m_Pagador2,  &CRecibo::m_Cobrador1,
    &CRecibo::m_Cobrador2, &CRecibo::m_Localidad, &CRecibo::m_Direccion, &CRecibo::m_Concepto1,
    &CRecibo::m_Concepto2, &CRecibo::m_Concepto3, &CRecibo::m_Concepto4, &CRecibo::m_Concepto5,
};

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

QVariant NuloSi(bool nulo, QVariant valor) {
    return nulo ? QVariant(QMetaType(QMetaType::LongLong)) : std::move(valor);
}

QString NoValidos(const CRecibo& r) {
    QStringList partes;
    for (const Importe& i : kImportes) {
        const moneda::Currency& c = r.*i.campo;
        if (c.isValid())
            continue;
        const char estado = c.status() == moneda::Currency::Status::Null ? 'N' : 'I';
        partes << QStringLiteral("%1=%2:%3")
                      .arg(QLatin1String(i.columna), QChar(QLatin1Char(estado)))
                      .arg(c.value());
    }
    return partes.join(QLatin1Char(' '));
}

// The statuses and values that `no_validos` keeps, by column.
void LeerNoValidos(const QString& texto, CRecibo& r) {
    for (const QString& parte : texto.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const qsizetype igual = parte.indexOf(QLatin1Char('='));
        const qsizetype dos = parte.indexOf(QLatin1Char(':'), igual + 1);
        if (igual <= 0 || dos != igual + 2)
            continue;
        const QString columna = parte.left(igual);
        bool ok = false;
        const qint64 valor = parte.mid(dos + 1).toLongLong(&ok);
        if (!ok)
            continue;
        for (const Importe& i : kImportes) {
            if (columna != QLatin1String(i.columna))
                continue;
            r.*i.campo = parte.at(igual + 1) == QLatin1Char('N') ? moneda::Currency::Null()
                                                                 : moneda::Currency::Invalid(valor);
        }
    }
}

} // namespace

const QStringList& ColumnasRecibo() {
    static const QStringList columnas = [] {
        QStringList c;
        for (const Texto& t : kTextos)
            if (t.campo != nullptr)
                c << QLatin1String(t.columna);
        for (const Importe& i : kImportes)
            c << QLatin1String(i.columna);
        c << QStringLiteral("fecha") << QStringLiteral("color") << QStringLiteral("relleno")
          << QStringLiteral("no_validos");
        return c;
    }();
    return columnas;
}

QString TextoDeBusqueda(const CRecibo& recibo) {
    QStringList partes;
    for (auto campo : kBuscables)
        partes << Q(recibo.*campo);
    return NormalizarBusqueda(partes.join(QLatin1Char('\n')));
}

void EnlazarRecibo(QSqlQuery& query, const CRecibo& r) {
    const auto marca = [](const char* columna) {
        return QLatin1Char(':') + QLatin1String(columna);
    };
    for (const Texto& t : kTextos)
        if (t.campo != nullptr)
            query.bindValue(marca(t.columna), Q(r.*t.campo));
    for (const Importe& i : kImportes) {
        const moneda::Currency& c = r.*i.campo;
        query.bindValue(marca(i.columna), NuloSi(!c.isValid(), qint64(c.value())));
    }
    const moneda::Fecha& f = r.m_Fecha;
    // Not through QDate: a valid date of the record may have a year that QDate lacks (0).
    query.bindValue(QStringLiteral(":fecha"), f.EsValida()
                                                  ? QVariant(QString::fromStdString(f.TextoIso()))
                                                  : QVariant(QMetaType(QMetaType::QString)));
    query.bindValue(QStringLiteral(":color"), qint64(r.m_ColorFondo));
    query.bindValue(QStringLiteral(":relleno"), r.m_Solido != 0 ? 1 : 0);
    const QString noValidos = NoValidos(r);
    query.bindValue(QStringLiteral(":no_validos"),
                    noValidos.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : noValidos);
    query.bindValue(QStringLiteral(":total"), qint64(recibo::TotalRecibo(r).value()));
}

bool EsImporte(const QVariant& valor) {
    // PostgreSQL's driver gives a BIGINT that is not negative as unsigned.
    return valor.isNull() || valor.typeId() == QMetaType::LongLong ||
           (valor.typeId() == QMetaType::ULongLong &&
            valor.toULongLong() <= quint64(std::numeric_limits<qint64>::max()));
}

QString ImporteIlegible(const QSqlRecord& fila) {
    for (const Importe& i : kImportes)
        if (!EsImporte(fila.value(QLatin1String(i.columna))))
            return QLatin1String(i.columna);
    return {};
}

CRecibo ReciboDeFila(const QSqlRecord& fila) {
    CRecibo r;
    for (const Texto& t : kTextos)
        if (t.campo != nullptr)
            r.*t.campo = fila.value(QLatin1String(t.columna)).toString().toStdString();
    for (const Importe& i : kImportes) {
        const QVariant v = fila.value(QLatin1String(i.columna));
        // A NULL without its entry in no_validos (a row written by hand) reads as null.
        r.*i.campo = v.isNull() ? moneda::Currency::Null() : moneda::Currency(v.toLongLong());
    }
    LeerNoValidos(fila.value(QStringLiteral("no_validos")).toString(), r);

    static const QRegularExpression forma(QStringLiteral("^(-?[0-9]{1,9})-([0-9]{2})-([0-9]{2})$"));
    const QRegularExpressionMatch m = forma.match(fila.value(QStringLiteral("fecha")).toString());
    // Month 0 is never valid: the NULL of a date that was not valid reads back not valid.
    r.m_Fecha = m.hasMatch() ? moneda::Fecha(m.captured(1).toInt(), m.captured(2).toInt(),
                                             m.captured(3).toInt(), 1, 1, 1)
                             : moneda::Fecha(0, 0, 0, 1, 1, 1);
    r.m_ColorFondo = ColorRef(fila.value(QStringLiteral("color")).toLongLong());
    r.m_Solido = fila.value(QStringLiteral("relleno")).toInt() != 0 ? 1 : 0;
    r.m_Logotipo = 0;
    return r;
}

} // namespace registro
