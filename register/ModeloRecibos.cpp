#include "register/ModeloRecibos.h"

#include "amounts/moneda.h"
#include "register/Dialecto.h"
#include "register/EstadoCobroSql.h"
#include "register/FilaRecibo.h"

#include <QApplication>
#include <QDateTime>
#include <QScopedValueRollback>
#include <QStyle>

#include <QSqlQuery>
#include <QSqlResult>
#include <algorithm>

namespace registro {

namespace {

// Query columns: the id first, then one per visible column.
constexpr int kDesplazamiento = 1;
// The state's column by its expression, not its alias: the export sorts with it too.
const char* const kColumnasSql[] = {
    "numero",
    "fecha",
    "pagador1",
    "concepto1",
    "total",
    "cobro", // replaced by its expression (EstadoSql) when sorting
    "emitido",
    "destino",
    "remesa",
    ("(SELECT estado FROM registros_facturacion f WHERE f.recibo = recibos.id ORDER BY f.id "
     "DESC LIMIT 1)")};

// The receipt's last invoicing record: its state, the agency's code and text, tab-separated.
QString ColumnaFactura(const QSqlDatabase& db) {
    return QStringLiteral("(SELECT estado || %1 || codigo || %1 || descripcion FROM "
                          "registros_facturacion f WHERE f.recibo = recibos.id ORDER BY f.id DESC "
                          "LIMIT 1) AS factura, anulado")
        .arg(dialecto::Tabulador(db));
}

QString TextoFactura(const QString& estado) {
    if (estado == QLatin1String("aceptado"))
        return QStringLiteral("Aceptado");
    if (estado == QLatin1String("aceptado_con_errores"))
        return QStringLiteral("Aceptado con errores");
    if (estado == QLatin1String("rechazado"))
        return QStringLiteral("Rechazado");
    return QStringLiteral("Pendiente");
}

// The rows a server is asked for first: a window shows a few dozen, and with 100,000
// receipts the first page comes in a few milliseconds where all of them take over a second.
constexpr int kPaginaServidor = 500;

} // namespace

ModeloRecibos::ModeloRecibos(QString conexion, QObject* parent)
    : QSqlQueryModel(parent), conexion_(std::move(conexion)) {
    Refrescar();
}

void ModeloRecibos::setFiltro(const Filtro& filtro) {
    filtro_ = filtro;
    limite_ = 0;
    Refrescar();
}

QString ModeloRecibos::OrdenSql() const {
    if (columnaOrden_ < 0 || columnaOrden_ >= NumColumnas)
        return QStringLiteral(" ORDER BY %1 DESC").arg(CondicionDe(filtro_).reciente);
    const QString dir =
        orden_ == Qt::AscendingOrder ? QStringLiteral("ASC") : QStringLiteral("DESC");
    const int columna = columnaOrden_ < int(columnas_.size()) ? columnas_[columnaOrden_] : 0;
    // The id breaks ties the same way, so equal keys keep their issue order.
    const QString clave = columna == Cobro ? EstadoSql(QDate::currentDate())
                                           : QString::fromLatin1(kColumnasSql[columna]);
    return QStringLiteral(" ORDER BY %1 %2, recibos.id %2").arg(clave, dir);
}

void ModeloRecibos::Refrescar() {
    const Condicion c = CondicionDe(filtro_);
    const QSqlDatabase db = QSqlDatabase::database(conexion_, false);
    columnas_.clear();
    if (!db.isOpen()) {
        // No register to read yet (a server not reached): no rows, the usual columns.
        for (int c = Numero; c < NumColumnas; ++c)
            if (c != Remesa && c != Factura)
                columnas_.push_back(Columna(c));
        Soltar();
        return;
    }
    if (dialecto::EsPostgres(db))
        limite_ = std::max(limite_, kPaginaServidor);
    QSqlQuery q(db);
    const bool conRemesa =
        q.exec(QStringLiteral("SELECT 1 FROM recibos WHERE remesa IS NOT NULL LIMIT 1")) &&
        q.next();
    q.finish();
    const bool conFactura =
        q.exec(QStringLiteral("SELECT 1 FROM registros_facturacion LIMIT 1")) && q.next();
    q.finish();
    for (int c = Numero; c < NumColumnas; ++c)
        if ((c != Remesa || conRemesa) && (c != Factura || conFactura))
            columnas_.push_back(Columna(c));
    q.prepare(QStringLiteral("SELECT recibos.id, numero, fecha, pagador1, concepto1, total, "
                             "%1 AS cobro, emitido, destino, remesa, ")
                  .arg(EstadoSql(QDate::currentDate())) +
              ColumnaFactura(db) + c.desde + c.where + OrdenSql() +
              (limite_ > 0 ? QStringLiteral(" LIMIT ?") : QString()));
    for (const QVariant& v : c.valores)
        q.addBindValue(v);
    if (limite_ > 0)
        q.addBindValue(limite_);
    q.exec();
    // setQuery fetches the first rows through fetchMore: those of this query only.
    const QScopedValueRollback consultando(consultando_, true);
    setQuery(std::move(q));
}

void ModeloRecibos::Soltar() {
    setQuery(QSqlQuery(static_cast<QSqlResult*>(nullptr)));
}

bool ModeloRecibos::canFetchMore(const QModelIndex& parent) const {
    // A server's page that came full may have more after it.
    return QSqlQueryModel::canFetchMore(parent) ||
           (!parent.isValid() && !consultando_ && limite_ > 0 && rowCount() >= limite_);
}

void ModeloRecibos::fetchMore(const QModelIndex& parent) {
    if (QSqlQueryModel::canFetchMore(parent))
        return QSqlQueryModel::fetchMore(parent);
    if (!canFetchMore(parent))
        return;
    // The query again, with twice the rows: a new result, so a selection is cleared.
    limite_ *= 2;
    Refrescar();
}

qint64 ModeloRecibos::IdDeFila(int fila) const {
    if (fila < 0 || fila >= rowCount())
        return -1;
    return QSqlQueryModel::data(QSqlQueryModel::index(fila, 0)).toLongLong();
}

int ModeloRecibos::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(columnas_.size());
}

ModeloRecibos::Columna ModeloRecibos::ColumnaDe(int visible) const {
    return visible >= 0 && visible < int(columnas_.size()) ? columnas_[std::size_t(visible)]
                                                           : NumColumnas;
}

bool ModeloRecibos::ConFacturas() const {
    return std::find(columnas_.begin(), columnas_.end(), Factura) != columnas_.end();
}

bool ModeloRecibos::AnuladoEnFila(int fila) const {
    return fila >= 0 && fila < rowCount() &&
           // Not index(): the query's columns go beyond those shown.
           !QSqlQueryModel::data(createIndex(fila, kDesplazamiento + NumColumnas)).isNull();
}

QVariant ModeloRecibos::DatoFactura(const QModelIndex& index, int role) const {
    const QStringList partes =
        QSqlQueryModel::data(createIndex(index.row(), Factura + kDesplazamiento))
            .toString()
            .split(u'\t');
    if (partes.size() < 3)
        return {}; // no invoicing record: a receipt that is no invoice
    const QString& estado = partes[0];
    const bool anulado = AnuladoEnFila(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return anulado ? QStringLiteral("Anulado (%1)").arg(TextoFactura(estado).toLower())
                       : TextoFactura(estado);
    case Qt::ToolTipRole:
        return partes[1] == QLatin1String("0")
                   ? TextoFactura(estado)
                   : QStringLiteral("%1. Código %2 de la AEAT: %3")
                         .arg(TextoFactura(estado), partes[1], partes[2]);
    case Qt::DecorationRole:
        if (estado == QLatin1String("aceptado_con_errores"))
            return QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
        if (estado == QLatin1String("rechazado"))
            return QApplication::style()->standardIcon(QStyle::SP_MessageBoxCritical);
        return {};
    default:
        return {};
    }
}

QVariant ModeloRecibos::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const Columna columna = ColumnaDe(index.column());
    // Not index(): it checks against the visible column count, less than the query's.
    const QModelIndex fuente = createIndex(index.row(), columna + kDesplazamiento);
    if (role == Qt::TextAlignmentRole && columna == Total)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (columna == Factura)
        return DatoFactura(fuente, role);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    const QVariant v = QSqlQueryModel::data(fuente);
    switch (columna) {
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
                                          "Cobro",  "Emitido", "Destino", "Remesa",   "VERI*FACTU"};
    if (section < 0 || section >= columnCount())
        return {};
    return QString::fromUtf8(titulos[ColumnaDe(section)]);
}

void ModeloRecibos::sort(int column, Qt::SortOrder order) {
    columnaOrden_ = column;
    orden_ = order;
    limite_ = 0;
    Refrescar();
}

} // namespace registro
