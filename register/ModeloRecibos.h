// The register as a table for the window: a query model over `recibos` that fetches rows as
// they scroll into view, filtered and sorted by SQL, newest first until a column is chosen.
// A server sends a query's whole result at once (Qt's driver reads it all before the first
// row), so there the query asks for the first rows only, and for twice as many each time the
// table scrolls to the end of those it has.
#pragma once

#include "register/Filtro.h"

#include <QSqlDatabase>
#include <QSqlQueryModel>

#include <utility>
#include <vector>

namespace registro {

class ModeloRecibos : public QSqlQueryModel {
    Q_OBJECT

public:
    // "Cobro" is the collection state today (register/EstadoCobro.h). "Remesa" only shows
    // while some receipt in the register was collected by the bank, and
    // "VERI*FACTU" (the state of the receipt's last invoicing record) while some receipt has
    // one.
    enum Columna {
        Numero,
        Fecha,
        Pagador,
        Concepto,
        Total,
        Cobro,
        Emitido,
        Destino,
        Remesa,
        Factura,
        NumColumnas
    };

    // Reads through the connection named `conexion`; holds no handle on it, so the store can
    // close it once clear() has ended the query.
    ModeloRecibos(QString conexion, QObject* parent = nullptr);

    // The connection to read through from now on: the register connected again.
    void setConexion(QString conexion) { conexion_ = std::move(conexion); }
    // No rows, and nothing held of the connection, which may then close: unlike clear(),
    // whose empty query is still made by the connection's driver.
    void Soltar();
    void setFiltro(const Filtro& filtro);
    const Filtro& filtro() const { return filtro_; }
    // Runs the query again, e.g. after a new row was recorded.
    void Refrescar();

    // The id of the row at `fila`, or -1.
    qint64 IdDeFila(int fila) const;

    // Whether some receipt in the register has an invoicing record.
    bool ConFacturas() const;
    // Whether the receipt at `fila` was cancelled by an anulación.
    bool AnuladoEnFila(int fila) const;

    // The ORDER BY of the current sort, shared with the export.
    QString OrdenSql() const;

    int columnCount(const QModelIndex& parent = {}) const override;
    bool canFetchMore(const QModelIndex& parent = {}) const override;
    void fetchMore(const QModelIndex& parent = {}) override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    Columna ColumnaDe(int visible) const;
    QVariant DatoFactura(const QModelIndex& fuente, int role) const;

    QString conexion_;
    int limite_ = 0;           // the rows asked of a server; 0: a file, read as the rows are shown
    bool consultando_ = false; // inside setQuery
    Filtro filtro_;
    int columnaOrden_ = -1;         // -1: newest first
    std::vector<Columna> columnas_; // those shown, in order
    Qt::SortOrder orden_ = Qt::DescendingOrder;
};

} // namespace registro
