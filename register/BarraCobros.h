// Who has paid, in "Recibos emitidos": the filter by collection state ("Pendientes de cobro"
// shows pendiente and devuelto), the count and total of the rows the filters show, and what
// can be done with the receipts selected: "Marcar como cobrado…" (paid by other means, on a
// date), "Deshacer cobro" (that mark taken back) and "Volver a cobrar…" (the returned ones in
// a new remittance, register/RemesaDevueltos.h). A part of the window of its own, so that the
// window itself only places it and asks it for its filter.
#pragma once

#include <QStringList>
#include <QWidget>

#include <cstdint>
#include <functional>

class QComboBox;
class QLabel;
class QTableView;
class QToolButton;

namespace registro {

class ModeloRecibos;
class Registro;

class BarraCobros : public QWidget {
    Q_OBJECT

public:
    BarraCobros(Registro& registro, ModeloRecibos& modelo, QTableView& tabla,
                QWidget* parent = nullptr);

    // The states chosen (NombreEstado()), for the window's filter; empty: all.
    QStringList Estados() const;

    // The actions on the selected rows, with the date or file they need given.
    bool MarcarCobrado(const QDate& fecha, QString& error);
    bool DeshacerCobro(QString& error);
    // Writes the returned receipts selected as a new remittance at `ruta`, to be collected on
    // `cobro`, with a receipt of `gastos` cents for each payer when not 0 ("Repercutir gastos
    // de devolución"); the sentence for the user (written, or why not, and who was left out).
    QString VolverACobrar(const QString& ruta, const QDate& cobro, std::int64_t gastos = 0);

Q_SIGNALS:
    void EstadosCambiados();

private:
    void ActualizarTotal();
    void ActualizarBotones();
    QList<qint64> Seleccionados() const;
    void PedirFechaYMarcar();
    void PedirRemesa();
    void Avisar(const QString& texto);

    Registro& registro_;
    ModeloRecibos& modelo_;
    QTableView& tabla_;
    QComboBox* estado_ = nullptr;
    QLabel* total_ = nullptr;
    QToolButton* marcar_ = nullptr;
    QToolButton* deshacer_ = nullptr;
    QToolButton* otraVez_ = nullptr;
};

} // namespace registro
