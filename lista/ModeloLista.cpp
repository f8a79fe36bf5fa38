#include "lista/ModeloLista.h"

#include "receipt/ReciboTexto.h"

#include <QBrush>
#include <QColor>

namespace lista {

void ModeloLista::Poner(const ListaRevisada* lista) {
    beginResetModel();
    lista_ = lista;
    endResetModel();
}

int ModeloLista::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || lista_ == nullptr ? 0 : int(lista_->filas.size());
}

int ModeloLista::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Columnas;
}

QVariant ModeloLista::data(const QModelIndex& index, int role) const {
    if (lista_ == nullptr || !index.isValid())
        return {};
    const FilaRevisada& f = lista_->filas[std::size_t(index.row())];
    if (role == Qt::ForegroundRole && index.column() == Estado)
        return !f.Valida()           ? QBrush(QColor(180, 0, 0))
               : !f.avisos.isEmpty() ? QBrush(QColor(150, 90, 0))
                                     : QVariant();
    if (role == Qt::TextAlignmentRole && (index.column() == Total || index.column() == Fila))
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    switch (index.column()) {
    case Fila:
        return qlonglong(f.fila);
    case Numero:
        return QString::fromStdString(f.recibo.m_Numero);
    case Pagador:
        return QString::fromStdString(f.recibo.m_Pagador1);
    case Concepto:
        return QString::fromStdString(f.recibo.m_Concepto1);
    case Total:
        return f.Valida() ? TextoEuros(recibo::TotalRecibo(f.recibo)) : QString();
    case Estado: {
        const QStringList todo = f.errores + f.avisos;
        if (todo.isEmpty())
            return QStringLiteral("Correcta");
        return role == Qt::ToolTipRole ? todo.join(u'\n') : todo.join(QStringLiteral("; "));
    }
    default:
        return {};
    }
}

QVariant ModeloLista::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char* const kTitulos[] = {"Fila",       "Número", "Pagador",
                                           "Concepto 1", "Total",  "Estado"};
    return section >= 0 && section < Columnas ? QString::fromUtf8(kTitulos[section]) : QVariant();
}

} // namespace lista
