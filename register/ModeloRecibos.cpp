#include "register/ModeloRecibos.h"

#include "amounts/moneda.h"
#include "register/EstadoCobroSql.h"
#include "register/FilaRecibo.h"

#include <QDateTime>
#include <QSqlQuery>

namespace registro {

namespace {

// Query columns: the id first, then one per visible column.
constexpr int kDesplazamiento = 1;
const char* const kColumnasSql[] = {"numero", "fecha",   "pagador1", "concepto1", "total",
                                    "cobro",  "emitido", "destino",  "remesa"};

} // namespace

ModeloRecibos::ModeloRecibos(QString conexion, QObject* parent)
    : QSqlQueryModel(parent), conexion_(std::move(conexion)) {
    Refrescar();
}

void ModeloRecibos::setFiltro(const Filtro& filtro) {
    filtro_ = filtro;
    Refrescar();
}

QString ModeloRecibos::OrdenSql() const {
    if (columnaOrden_ < 0 || columnaOrden_ >= NumColumnas)
        return QStringLiteral(" ORDER BY %1 DESC").arg(CondicionDe(filtro_).reciente);
    const QString dir =
        orden_ == Qt::AscendingOrder ? QStringLiteral("ASC") : QStringLiteral("DESC");
    // The id breaks ties the same way, so equal keys keep their issue order.
    return QStringLiteral(" ORDER BY %1 %2, id %2")
        .arg(QLatin1String(kColumnasSql[columnaOrden_]), dir);
}

void ModeloRecibos::Refrescar() {
    const Condicion c = CondicionDe(filtro_);
    QSqlQuery q(QSqlDatabase::database(conexion_, false));
    conRemesa_ = q.exec(QStringLiteral("SELECT 1 FROM recibos WHERE remesa IS NOT NULL LIMIT 1")) &&
                 q.next();
    q.finish();
    q.prepare(QStringLiteral("SELECT id, numero, fecha, pagador1, concepto1, total, %1 AS cobro, "
                             "emitido, destino, remesa")
                  .arg(EstadoSql(QDate::currentDate())) +
              c.desde + c.where + OrdenSql());
    for (const QVariant& v : c.valores)
        q.addBindValue(v);
    q.exec();
    setQuery(std::move(q));
}

qint64 ModeloRecibos::IdDeFila(int fila) const {
    if (fila < 0 || fila >= rowCount())
        return -1;
    return QSqlQueryModel::data(QSqlQueryModel::index(fila, 0)).toLongLong();
}

int ModeloRecibos::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : conRemesa_ ? NumColumnas : Remesa;
}

QVariant ModeloRecibos::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    // Not index(): it checks against the visible column count, one less than the query's.
    const QModelIndex fuente = createIndex(index.row(), index.column() + kDesplazamiento);
    if (role == Qt::TextAlignmentRole && index.column() == Total)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    const QVariant v = QSqlQueryModel::data(fuente);
    switch (index.column()) {
    case Fecha: {
        const QString t = v.toString();
        // yyyy-mm-dd shown as dd/mm/yyyy; a date that was not valid is NULL.
        return t.size() == 10
                   ? t.mid(8, 2) + QLatin1Char('/') + t.mid(5, 2) + QLatin1Char('/') + t.left(4)
                   : t;
    }
    case Total:
        // A value edited into the file by hand that is not an amount is no sum of money.
        if (!EsImporte(v))
            return QStringLiteral("¿?");
        return QString::fromStdString(moneda::FormatEuros(moneda::Currency(v.toLongLong()))) +
               QStringLiteral(" €");
    case Emitido: {
        const QDateTime utc = QDateTime::fromString(v.toString(), Qt::ISODate);
        return utc.isValid() ? utc.toLocalTime().toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"))
                             : v.toString();
    }
    default:
        return v.toString().replace(QLatin1Char('\n'), QLatin1Char(' '));
    }
}

QVariant ModeloRecibos::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QSqlQueryModel::headerData(section, orientation, role);
    static const char* const titulos[] = {"Número", "Fecha",   "Pagador", "Concepto", "Total",
                                          "Cobro",  "Emitido", "Destino", "Remesa"};
    if (section < 0 || section >= columnCount())
        return {};
    return QString::fromUtf8(titulos[section]);
}

void ModeloRecibos::sort(int column, Qt::SortOrder order) {
    columnaOrden_ = column;
    orden_ = order;
    Refrescar();
}

} // namespace registro
