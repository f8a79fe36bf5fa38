#include "lista/VentanaLista.h"

#include "lista/ColumnasAdeudo.h"
#include "lista/DialogoFechaCobro.h"
#include "lista/Emision.h"
#include "lista/FacturasLista.h"
#include "lista/ModeloLista.h"
#include "platform/BoundedTask.h"
#include "platform/PagePreview.h"
#include "platform/PdfExport.h"
#include "platform/PrintDialog.h"
#include "platform/PrinterQueries.h"
#include "platform/SettingsStore.h"
#include "register/ConexionEnSegundoPlano.h"
#include "register/Registro.h"
#include "sepa/AjustesAcreedor.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QSplitter>
#include <QStandardPaths>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace lista {

namespace {

// Up to this many receipts, an emission is quick enough to show no progress dialog.
constexpr qsizetype kSinProgreso = 5;

const QString kTitulo = QStringLiteral("Emitir lista de recibos");

QString CsvSoltado(const QMimeData* datos) {
    if (datos == nullptr || !datos->hasUrls() || datos->urls().size() != 1)
        return {};
    const QString ruta = datos->urls().front().toLocalFile();
    return ruta.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive) ||
                   ruta.endsWith(QStringLiteral(".txt"), Qt::CaseInsensitive)
               ? ruta
               : QString();
}

} // namespace

VentanaLista::VentanaLista(std::function<CRecibo()> plantilla, QWidget* parent)
    : QWidget(parent, Qt::Window), plantilla_(std::move(plantilla)),
      lista_(std::make_unique<ListaRevisada>()) {
    setObjectName(QStringLiteral("emitirLista"));
    setWindowTitle(kTitulo);
    setAcceptDrops(true);

    auto* abrir = new QPushButton(QStringLiteral("&Abrir lista…"), this);
    abrir->setObjectName(QStringLiteral("abrir"));
    origen_ = new QLabel(QStringLiteral("Abra una lista en CSV o suéltela en esta ventana."), this);
    origen_->setObjectName(QStringLiteral("origen"));
    origen_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* arriba = new QHBoxLayout;
    arriba->addWidget(abrir);
    arriba->addWidget(origen_, 1);

    modelo_ = new ModeloLista(this);
    tabla_ = new QTableView(this);
    tabla_->setObjectName(QStringLiteral("tablaLista"));
    tabla_->setModel(modelo_);
    tabla_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tabla_->setSelectionMode(QAbstractItemView::SingleSelection);
    tabla_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tabla_->verticalHeader()->hide();
    tabla_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    tabla_->horizontalHeader()->setStretchLastSection(true);
    tabla_->setColumnWidth(ModeloLista::Fila, 50);
    tabla_->setColumnWidth(ModeloLista::Numero, 70);
    tabla_->setColumnWidth(ModeloLista::Pagador, 150);
    tabla_->setColumnWidth(ModeloLista::Concepto, 150);
    tabla_->setColumnWidth(ModeloLista::Total, 90);
    tabla_->setWordWrap(false);

    vista_ = new platform::PagePreview(this);
    vista_->setObjectName(QStringLiteral("vistaLista"));
    vista_->setMinimumWidth(260);
    auto* partes = new QSplitter(this);
    partes->addWidget(tabla_);
    partes->addWidget(vista_);
    partes->setStretchFactor(0, 3);
    partes->setStretchFactor(1, 1);
    partes->setSizes({760, 300});

    resumen_ = new QLabel(this);
    resumen_->setObjectName(QStringLiteral("resumen"));
    resumen_->setWordWrap(true);

    imprimir_ = new QPushButton(QStringLiteral("&Imprimir…"), this);
    pdf_ = new QPushButton(QStringLiteral("Guardar como &PDF…"), this);
    pdfs_ = new QPushButton(QStringLiteral("&Un PDF por recibo…"), this);
    remesa_ = new QPushButton(QStringLiteral("&Remesa SEPA…"), this);
    remesa_->setObjectName(QStringLiteral("remesaSepa"));
    remesa_->setToolTip(QStringLiteral("El archivo de adeudos de los recibos con IBAN para el "
                                       "banco del acreedor"));
    auto* cerrar = new QPushButton(QStringLiteral("&Cerrar"), this);
    imprimir_->setObjectName(QStringLiteral("imprimir"));
    pdf_->setObjectName(QStringLiteral("guardarPdf"));
    pdfs_->setObjectName(QStringLiteral("pdfPorRecibo"));
    cerrar->setObjectName(QStringLiteral("cerrar"));
    auto* botones = new QHBoxLayout;
    botones->addStretch(1);
    for (QPushButton* b : {imprimir_, pdf_, pdfs_, remesa_, cerrar})
        botones->addWidget(b);

    auto* capas = new QVBoxLayout(this);
    capas->addLayout(arriba);
    capas->addWidget(partes, 1);
    capas->addWidget(resumen_);
    capas->addLayout(botones);
    resize(1000, 600);

    auto* abrirAccion = new QAction(this);
    abrirAccion->setShortcut(QKeySequence::Open);
    addAction(abrirAccion);
    auto* cerrarAccion = new QAction(this);
    cerrarAccion->setShortcuts({QKeySequence::Close, QKeySequence(Qt::Key_Escape)});
    addAction(cerrarAccion);

    vigia_ = new QFileSystemWatcher(this);
    connect(vigia_, &QFileSystemWatcher::fileChanged, this, [this] {
        // A spreadsheet saves by replacing the file: read it once it is there again.
        LeerDespues();
    });
    connect(abrir, &QPushButton::clicked, this, &VentanaLista::Elegir);
    connect(abrirAccion, &QAction::triggered, this, &VentanaLista::Elegir);
    connect(cerrar, &QPushButton::clicked, this, &QWidget::close);
    connect(cerrarAccion, &QAction::triggered, this, &QWidget::close);
    connect(imprimir_, &QPushButton::clicked, this, &VentanaLista::Imprimir);
    connect(pdf_, &QPushButton::clicked, this, &VentanaLista::GuardarPdf);
    connect(pdfs_, &QPushButton::clicked, this, &VentanaLista::PdfPorRecibo);
    connect(remesa_, &QPushButton::clicked, this, &VentanaLista::RemesaSepa);
    connect(tabla_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& actual) {
                const int fila = actual.row();
                if (fila < 0 || std::size_t(fila) >= lista_->filas.size()) {
                    vista_->SetDrawing({});
                    return;
                }
                vista_->SetDrawing([this, fila](page::PageSurface& p) {
                    if (std::size_t(fila) < lista_->filas.size())
                        DibujarFila(*lista_, fila, p);
                });
            });
    Mostrar();
    platform::BoundedTask<QPageLayout>::Start(
        this, platform::kPrintServerLimit,
        [] { return platform::DefaultPrinterLayout(platform::PdfPageLayout(std::nullopt)); },
        [this](QPageLayout layout) { vista_->SetLayout(layout); },
        [this] { vista_->SetLayout(platform::PdfPageLayout(std::nullopt)); });
}

VentanaLista::~VentanaLista() = default;

void VentanaLista::Abrir(const QString& archivo) {
    archivo_ = QFileInfo(archivo).absoluteFilePath();
    if (!vigia_->files().isEmpty())
        vigia_->removePaths(vigia_->files());
    vigia_->addPath(archivo_);
    Leer();
}

void VentanaLista::LeerDespues() {
    QTimer::singleShot(300, this, [this] {
        if (registro::EsperandoServidor())
            LeerDespues();
        else
            Leer();
    });
}

void VentanaLista::Leer() {
    if (archivo_.isEmpty())
        return;
    if (!vigia_->files().contains(archivo_) && QFileInfo::exists(archivo_))
        vigia_->addPath(archivo_);
    registro::Registro reg(registro_.isEmpty() ? registro::Registro::Ubicacion() : registro_);
    platform::SettingsStore ajustes;
    const std::optional<registro::Facturacion> facturacion = FacturacionDeAjustes(ajustes);
    const NumerosDelRegistro numeros = NumerosParaLista(reg, facturacion);
    auto nueva = std::make_unique<ListaRevisada>(RevisarLista(
        LeerArchivoCsv(archivo_), plantilla_(), TiposDeAjustes(ajustes), numeros, facturacion));
    nueva->archivo = archivo_;
    modelo_->Poner(nullptr);
    lista_ = std::move(nueva);
    modelo_->Poner(lista_.get());
    Mostrar();
    if (!lista_->filas.empty())
        tabla_->selectRow(0);
}

void VentanaLista::Mostrar() {
    const bool leida = !archivo_.isEmpty();
    if (leida)
        origen_->setText(QStringLiteral("%1 (%2)").arg(QDir::toNativeSeparators(archivo_),
                                                       lista_->dialecto.Descripcion()));
    QString texto = leida ? lista_->Resumen() : QString();
    if (!lista_->avisos.isEmpty())
        texto += QLatin1Char('\n') + lista_->avisos.join(QLatin1Char('\n'));
    resumen_->setText(texto);
    const bool emitible = lista_->Emitible();
    for (QPushButton* b : {imprimir_, pdf_, pdfs_})
        b->setEnabled(emitible);
    remesa_->setEnabled(emitible && FilasSinAdeudo(*lista_) < qsizetype(lista_->filas.size()));
}

void VentanaLista::Elegir() {
    const QString inicio = archivo_.isEmpty()
                               ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
                               : QFileInfo(archivo_).absolutePath();
    const QString archivo = QFileDialog::getOpenFileName(
        this, QStringLiteral("Abrir lista de recibos"), inicio,
        QStringLiteral("Listas CSV (*.csv *.txt);;Todos los archivos (*)"));
    if (!archivo.isEmpty())
        Abrir(archivo);
}

void VentanaLista::dragEnterEvent(QDragEnterEvent* event) {
    if (!CsvSoltado(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void VentanaLista::dropEvent(QDropEvent* event) {
    const QString ruta = CsvSoltado(event->mimeData());
    if (ruta.isEmpty())
        return;
    event->acceptProposedAction();
    Abrir(ruta);
}

Emision VentanaLista::EmitirA(PedidoEmision pedido) {
    pedido.archivoLista = archivo_;
    pedido.registro = registro_;
    const qsizetype n = qsizetype(lista_->filas.size());
    std::unique_ptr<QProgressDialog> progreso;
    if (n > kSinProgreso) {
        progreso = std::make_unique<QProgressDialog>(QStringLiteral("Emitiendo los recibos…"),
                                                     QStringLiteral("Cancelar"), 0, int(n), this);
        progreso->setObjectName(QStringLiteral("progresoLista"));
        progreso->setWindowTitle(kTitulo);
        progreso->setWindowModality(Qt::WindowModal);
        progreso->setMinimumDuration(0);
        progreso->setValue(0);
    }
    const Emision e = Emitir(*lista_, pedido, [&](qsizetype hechos, qsizetype) {
        if (!progreso)
            return true;
        progreso->setValue(int(hechos)); // a modal progress keeps the window painting
        return !progreso->wasCanceled();
    });
    progreso.reset();
    if (e.estado == Emision::Estado::Emitida)
        Q_EMIT Anotada();
    if (!e.avisos.isEmpty())
        QMessageBox::information(this, kTitulo, e.avisos.join(QStringLiteral("\n\n")));
    if (e.estado == Emision::Estado::Fallida) {
        QMessageBox::warning(this, kTitulo, e.error);
        Leer(); // numbers another program took meanwhile are drawn anew
        return e;
    } else if (e.estado == Emision::Estado::Emitida &&
               pedido.destino == PedidoEmision::Destino::Ninguno)
        resumen_->setText(
            ResumenRemesa(e.remesa, e.sinAdeudo) +
            QStringLiteral(" a %1.").arg(QDir::toNativeSeparators(pedido.remesa->ruta)));
    else if (e.estado == Emision::Estado::Emitida)
        resumen_->setText(QStringLiteral("%1 recibos emitidos a %2.")
                              .arg(n)
                              .arg(QDir::toNativeSeparators(pedido.ruta)));
    else
        resumen_->setText(QStringLiteral("Emisión cancelada: no se ha emitido ni anotado nada."));
    return e;
}

void VentanaLista::Imprimir() {
    if (lista_->filas.empty())
        return;
    platform::PrintDialog eleccion(
        [this](page::PageSurface& p) {
            if (!lista_->filas.empty())
                DibujarFila(*lista_, 0, p);
        },
        this);
    if (eleccion.exec() != QDialog::Accepted)
        return;
    if (eleccion.Chosen() == platform::PrintDialog::Destination::PdfFile) {
        GuardarPdf();
        return;
    }
    PedidoEmision pedido;
    pedido.destino = PedidoEmision::Destino::Impresora;
    pedido.ruta = eleccion.Printer()->printerName();
    EmitirA(pedido);
}

void VentanaLista::GuardarPdf() {
    const QString ruta =
        platform::AskPdfPath(this, QFileInfo(archivo_).completeBaseName() + QStringLiteral(".pdf"),
                             QFileInfo(archivo_).absolutePath());
    if (ruta.isEmpty())
        return;
    PedidoEmision pedido;
    pedido.destino = PedidoEmision::Destino::Pdf;
    pedido.ruta = ruta;
    pedido.sobrescribir = true; // the file dialog asked before a file there is replaced
    EmitirA(pedido);
}

void VentanaLista::PdfPorRecibo() {
    const QString carpeta = QFileDialog::getExistingDirectory(
        this, QStringLiteral("Carpeta para los PDF"), QFileInfo(archivo_).absolutePath());
    if (carpeta.isEmpty())
        return;
    PedidoEmision pedido;
    pedido.destino = PedidoEmision::Destino::CarpetaPdf;
    pedido.ruta = carpeta;
    if (const QStringList ya = ArchivosQueYaExisten(*lista_, carpeta); !ya.isEmpty()) {
        // One question for the whole list.
        if (QMessageBox::question(
                this, kTitulo,
                QStringLiteral("Ya hay en la carpeta %1 de los archivos (%2). ¿Desea "
                               "reemplazarlos?")
                    .arg(ya.size())
                    .arg(ya.mid(0, 5).join(QStringLiteral(", ")) +
                         (ya.size() > 5 ? QStringLiteral("…") : QString())),
                QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
            return;
        pedido.sobrescribir = true;
    }
    EmitirA(pedido);
}

void VentanaLista::RemesaSepa() {
    if (const sepa::AcreedorCargado a = sepa::CargarAcreedor(platform::SettingsStore());
        !a.error.empty()) {
        QMessageBox::warning(this, kTitulo, QString::fromStdString(a.error));
        return;
    }
    const std::optional<QDate> cobro = PedirFechaCobro(this, QDate::currentDate());
    if (!cobro)
        return;
    // Never an existing file: the bank could be sent the same debits twice.
    const QString ruta = QFileDialog::getSaveFileName(
        this, QStringLiteral("Guardar la remesa SEPA"),
        QFileInfo(archivo_).absolutePath() + QLatin1Char('/') +
            QFileInfo(archivo_).completeBaseName() + QStringLiteral(".xml"),
        QStringLiteral("Remesas SEPA (*.xml)"), nullptr, QFileDialog::DontConfirmOverwrite);
    if (!ruta.isEmpty())
        EmitirRemesa(ruta, *cobro);
}

Emision VentanaLista::EmitirRemesa(const QString& ruta, const QDate& cobro) {
    const platform::SettingsStore ajustes;
    const sepa::AcreedorCargado acreedor = sepa::CargarAcreedor(ajustes);
    PedidoRemesa remesa{
        QFileInfo(ruta).absoluteFilePath(), acreedor.acreedor, FechaDe(cobro),
        sepa::FormatoDeRemesa(QString::fromStdString(sepa::LeerVersionRemesa(ajustes)))};
    ListaRevisada conFecha = *lista_; // the list shown keeps no error of this remittance
    QString motivo = ComprobarRemesa(acreedor, remesa, &conFecha);
    if (motivo.isEmpty()) {
        QStringList errores;
        for (const FilaRevisada& f : conFecha.filas)
            errores << f.errores;
        motivo = errores.mid(0, 10).join(QLatin1Char('\n'));
    }
    if (!motivo.isEmpty()) {
        QMessageBox::warning(this, kTitulo,
                             QStringLiteral("No se escribe la remesa: %1").arg(motivo));
        Emision e;
        e.error = motivo;
        return e;
    }
    PedidoEmision pedido;
    pedido.destino = PedidoEmision::Destino::Ninguno;
    pedido.remesa = remesa;
    return EmitirA(pedido);
}

} // namespace lista
