// "Emitir lista de recibos": a plain window that opens a spreadsheet's CSV (or takes it
// dropped on it), shows every row checked, the page of the selected row as the preview
// draws it, and emits the whole list to a printer, one PDF or one PDF per receipt, with a
// progress dialog that can cancel. The file is read again when it changes on disk.
#pragma once

#include "lista/Lista.h"

#include <QDate>
#include <QWidget>

#include <functional>
#include <memory>

class QFileSystemWatcher;
class QLabel;
class QPushButton;
class QTableView;

namespace platform {
class PagePreview;
}

namespace lista {

class ModeloLista;
struct PedidoEmision;
struct Emision;

class VentanaLista final : public QWidget {
    Q_OBJECT

public:
    // `plantilla` gives the form's receipt as it stands, asked at every reading.
    VentanaLista(std::function<CRecibo()> plantilla, QWidget* parent = nullptr);
    ~VentanaLista() override;

    // Reads and checks `archivo`, showing the result.
    void Abrir(const QString& archivo);
    const ListaRevisada& Lista() const { return *lista_; }

    // Emits to `pedido` with the progress dialog; shows the outcome. For the buttons and tests.
    Emision EmitirA(PedidoEmision pedido);

    // The remittance of the rows with an IBAN alone, for the creditor in the settings;
    // only those receipts are recorded. Refusals are shown; for the button and tests.
    Emision EmitirRemesa(const QString& ruta, const QDate& cobro);

    // The register's file; empty: the user's own.
    void UsarRegistro(const QString& ruta) { registro_ = ruta; }

Q_SIGNALS:
    // Receipts of the list were recorded in the register (their invoicing records with them).
    void Anotada();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void Leer();
    // Leer() a moment later, and not while the windows wait for the register's server.
    void LeerDespues();
    void Elegir();
    void Mostrar();
    void Imprimir();
    void GuardarPdf();
    void PdfPorRecibo();
    void RemesaSepa();

    std::function<CRecibo()> plantilla_;
    std::unique_ptr<ListaRevisada> lista_;
    QString archivo_;
    QString registro_;
    ModeloLista* modelo_ = nullptr;
    QTableView* tabla_ = nullptr;
    QLabel* origen_ = nullptr;
    QLabel* resumen_ = nullptr;
    platform::PagePreview* vista_ = nullptr;
    QFileSystemWatcher* vigia_ = nullptr;
    QPushButton* imprimir_ = nullptr;
    QPushButton* pdf_ = nullptr;
    QPushButton* pdfs_ = nullptr;
    QPushButton* remesa_ = nullptr;
};

} // namespace lista
