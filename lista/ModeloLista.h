// The rows of a checked list for the window's table: Fila, Número, Pagador, Concepto 1,
// Total, Estado (the row's errors and warnings, or "Correcta").
#pragma once

#include "lista/Lista.h"

#include <QAbstractTableModel>

namespace lista {

class ModeloLista final : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Columna { Fila, Numero, Pagador, Concepto, Total, Estado, Columnas };

    using QAbstractTableModel::QAbstractTableModel;

    void Poner(const ListaRevisada* lista); // not owned; null: empty

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    const ListaRevisada* lista_ = nullptr;
};

} // namespace lista
