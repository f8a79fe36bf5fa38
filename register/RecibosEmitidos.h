// "Recibos emitidos": the register as a table to search, reprint from and copy into the form.
//
// The window reads through its own store; it records nothing but an anulación ("Anular…").
// A reprint goes through the print path the callbacks lead to, which records the new row (an
// invoice reprinted carries its alta's QR code and is not recorded again) and then calls
// Refrescar(). With invoices in the register it shows each receipt's VERI*FACTU state, the
// records pending, "Anular…" and, for a refused one, "Corregir…". A register on a server that
// cannot be reached, or whose connection is lost while the window is open, is told in the
// window's status with a button "Reintentar"; the window opens before the server answers.
#pragma once

#include "receipt/Recibo.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QAction;
class QDateEdit;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace registro {

class BarraCobros;
class ModeloRecibos;
class Registro;

// What the buttons do with the selected receipt, as it was first issued.
struct AccionesRegistro {
    std::function<void(const CRecibo&)> imprimir;
    std::function<void(const CRecibo&)> guardarPdf;
    std::function<void(const CRecibo&)> copiarAlFormulario;
    // The QR code of a reprinted invoice names the agency's real host, else its test host.
    bool qrProduccion = true;
};

class RecibosEmitidos : public QWidget {
    Q_OBJECT

public:
    RecibosEmitidos(const QString& ruta, AccionesRegistro acciones, QWidget* parent = nullptr);
    ~RecibosEmitidos() override;

    // The record of the selected row, read from the register. An invoice (a receipt with an
    // alta) carries the QR code of its alta, as it first left.
    std::optional<CRecibo> Seleccionado();

    // Shows only the receipts of the list `lote` (0: every receipt).
    void MostrarLote(qint64 lote);

    // Writes the rows shown, filtered and sorted as shown, as CSV to `archivo`.
    bool ExportarA(const QString& archivo, QString& error);

public Q_SLOTS:
    // Reads the register again: a receipt was just recorded.
    void Refrescar();
    // Asks for a file name and writes the rows shown as CSV.
    void Exportar();

private:
    // Opens the register and fills the window; when it cannot, says why (SinRegistro).
    void Conectar();
    void SinRegistro(const QString& texto);
    // "Reintentar": connects again, and may ask a password cancelled before.
    void Reintentar();
    // After the table was read: whether it failed because the server's connection was lost,
    // which the window then tells, offering to retry.
    bool Perdida();
    void Filtrar();
    void LeerLotes();
    void ActualizarBotones();
    // A reprint (`reimpresion`) of a cancelled invoice is refused.
    void Ejecutar(const std::function<void(const CRecibo&)>& accion, bool reimpresion = false);
    qint64 IdSeleccionado() const;
    // "Anular…": the anulación of the selected invoice, after asking.
    void Anular();
    // "Corregir…": a refused invoice copied into the form, to leave again with its number.
    void Corregir();
    void ContarPendientes();

    std::unique_ptr<Registro> registro_;
    AccionesRegistro acciones_;
    ModeloRecibos* modelo_ = nullptr;
    BarraCobros* cobros_ = nullptr;
    QLineEdit* buscar_ = nullptr;
    QCheckBox* usarDesde_ = nullptr;
    QCheckBox* usarHasta_ = nullptr;
    QDateEdit* desde_ = nullptr;
    QDateEdit* hasta_ = nullptr;
    QComboBox* lote_ = nullptr;
    QTableView* tabla_ = nullptr;
    QLabel* siguiente_ = nullptr;
    QLabel* estado_ = nullptr;
    QPushButton* reintentar_ = nullptr;
    QAction* imprimir_ = nullptr;
    QAction* guardarPdf_ = nullptr;
    QAction* copiar_ = nullptr;
    QAction* anular_ = nullptr;
    QAction* corregir_ = nullptr;
    QLabel* pendientes_ = nullptr;
};

} // namespace registro
