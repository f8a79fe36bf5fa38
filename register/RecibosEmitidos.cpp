#include "register/RecibosEmitidos.h"

#include "register/BarraCobros.h"
#include "register/ConexionEnSegundoPlano.h"
#include "register/ExportarCsv.h"
#include "register/ModeloRecibos.h"
#include "register/Pendientes.h"
#include "register/PreguntaDeClave.h"
#include "register/Registro.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace registro {

namespace {

QToolButton* Boton(QAction* accion, QWidget* parent) {
    auto* b = new QToolButton(parent);
    b->setDefaultAction(accion);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return b;
}

} // namespace

RecibosEmitidos::RecibosEmitidos(const QString& ruta, AccionesRegistro acciones, QWidget* parent)
    : QWidget(parent, Qt::Window), registro_(std::make_unique<Registro>(ruta)),
      acciones_(std::move(acciones)) {
    setObjectName(QStringLiteral("recibosEmitidos"));
    setWindowTitle(QStringLiteral("Recibos emitidos"));
    resize(980, 540);

    // --- Search and date range --------------------------------------------------------
    buscar_ = new QLineEdit(this);
    buscar_->setObjectName(QStringLiteral("buscar"));
    buscar_->setPlaceholderText(
        QStringLiteral("Buscar por número, pagador, cobrador, localidad, dirección o concepto"));
    buscar_->setClearButtonEnabled(true);

    usarDesde_ = new QCheckBox(QStringLiteral("&Desde"), this);
    usarDesde_->setObjectName(QStringLiteral("usarDesde"));
    usarHasta_ = new QCheckBox(QStringLiteral("&Hasta"), this);
    usarHasta_->setObjectName(QStringLiteral("usarHasta"));
    const QDate hoy = QDate::currentDate();
    desde_ = new QDateEdit(QDate(hoy.year(), 1, 1), this);
    desde_->setObjectName(QStringLiteral("desde"));
    hasta_ = new QDateEdit(hoy, this);
    hasta_->setObjectName(QStringLiteral("hasta"));
    for (QDateEdit* d : {desde_, hasta_}) {
        d->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
        d->setCalendarPopup(true);
        d->setEnabled(false);
    }

    // Lists of receipts emitted together from a spreadsheet: one of them, or all receipts.
    lote_ = new QComboBox(this);
    lote_->setObjectName(QStringLiteral("lote"));
    lote_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    lote_->setToolTip(QStringLiteral("Solo los recibos de una lista emitida de una vez"));

    auto* filtros = new QHBoxLayout;
    filtros->addWidget(buscar_, 1);
    filtros->addWidget(lote_);
    filtros->addWidget(usarDesde_);
    filtros->addWidget(desde_);
    filtros->addWidget(usarHasta_);
    filtros->addWidget(hasta_);

    // --- The table --------------------------------------------------------------------
    tabla_ = new QTableView(this);
    tabla_->setObjectName(QStringLiteral("tablaRecibos"));
    tabla_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tabla_->setSelectionMode(QAbstractItemView::SingleSelection);
    tabla_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tabla_->setAlternatingRowColors(true);
    tabla_->verticalHeader()->hide();
    // Fixed-height rows: measuring rows would read every one of them.
    tabla_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    tabla_->verticalHeader()->setDefaultSectionSize(tabla_->fontMetrics().height() + 8);
    tabla_->horizontalHeader()->setStretchLastSection(true);

    estado_ = new QLabel(this);
    estado_->setObjectName(QStringLiteral("estadoRegistro"));
    estado_->setWordWrap(true);
    estado_->hide();
    reintentar_ = new QPushButton(QStringLiteral("&Reintentar"), this);
    reintentar_->setObjectName(QStringLiteral("reintentarRegistro"));
    reintentar_->hide();
    connect(reintentar_, &QPushButton::clicked, this, &RecibosEmitidos::Reintentar);

    // --- Actions ----------------------------------------------------------------------
    imprimir_ = new QAction(QStringLiteral("&Imprimir…"), this);
    imprimir_->setObjectName(QStringLiteral("imprimir"));
    imprimir_->setShortcut(QKeySequence::Print);
    guardarPdf_ = new QAction(QStringLiteral("&Guardar como PDF…"), this);
    guardarPdf_->setObjectName(QStringLiteral("guardarPdf"));
    guardarPdf_->setShortcut(QKeySequence::Save);
    copiar_ = new QAction(QStringLiteral("&Copiar al formulario"), this);
    copiar_->setObjectName(QStringLiteral("copiarAlFormulario"));
    anular_ = new QAction(QStringLiteral("&Anular…"), this);
    anular_->setObjectName(QStringLiteral("anular"));
    anular_->setToolTip(QStringLiteral("Anula una factura que no debió emitirse: se envía su "
                                       "registro de anulación a la AEAT"));
    corregir_ = new QAction(QStringLiteral("Co&rregir…"), this);
    corregir_->setObjectName(QStringLiteral("corregir"));
    corregir_->setToolTip(QStringLiteral("Copia al formulario una factura que la AEAT rechazó, "
                                         "para emitirla de nuevo corregida con su número"));
    auto* exportar = new QAction(QStringLiteral("&Exportar…"), this);
    exportar->setObjectName(QStringLiteral("exportar"));
    exportar->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    auto* buscarAccion = new QAction(QStringLiteral("Buscar"), this);
    buscarAccion->setShortcut(QKeySequence::Find);
    auto* refrescar = new QAction(QStringLiteral("Actualizar"), this);
    refrescar->setShortcut(QKeySequence::Refresh);
    auto* cerrar = new QAction(QStringLiteral("Cerrar"), this);
    cerrar->setShortcut(QKeySequence::Close);
    for (QAction* a : {imprimir_, guardarPdf_, copiar_, anular_, corregir_, exportar, buscarAccion,
                       refrescar, cerrar}) {
        a->setShortcutContext(Qt::WindowShortcut);
        addAction(a);
    }
    connect(imprimir_, &QAction::triggered, this, [this] { Ejecutar(acciones_.imprimir, true); });
    connect(guardarPdf_, &QAction::triggered, this,
            [this] { Ejecutar(acciones_.guardarPdf, true); });
    connect(anular_, &QAction::triggered, this, &RecibosEmitidos::Anular);
    connect(corregir_, &QAction::triggered, this, &RecibosEmitidos::Corregir);
    connect(copiar_, &QAction::triggered, this, [this] { Ejecutar(acciones_.copiarAlFormulario); });
    connect(exportar, &QAction::triggered, this, &RecibosEmitidos::Exportar);
    connect(buscarAccion, &QAction::triggered, this, [this] {
        buscar_->setFocus(Qt::ShortcutFocusReason);
        buscar_->selectAll();
    });
    connect(refrescar, &QAction::triggered, this, &RecibosEmitidos::Refrescar);
    connect(cerrar, &QAction::triggered, this, &QWidget::close);

    siguiente_ = new QLabel(this);
    siguiente_->setObjectName(QStringLiteral("siguienteNumero"));
    pendientes_ = new QLabel(this);
    pendientes_->setObjectName(QStringLiteral("pendientesVerifactu"));
    auto* botones = new QHBoxLayout;
    botones->addWidget(siguiente_);
    botones->addWidget(pendientes_);
    botones->addStretch(1);
    for (QAction* a : {imprimir_, guardarPdf_, copiar_, anular_, corregir_, exportar})
        botones->addWidget(Boton(a, this));

    auto* capas = new QVBoxLayout(this);
    capas->addLayout(filtros);
    auto* aviso = new QHBoxLayout;
    aviso->addWidget(estado_, 1);
    aviso->addWidget(reintentar_, 0, Qt::AlignTop);
    capas->addLayout(aviso);
    capas->addWidget(tabla_, 1);
    capas->addLayout(botones);

    // --- The model --------------------------------------------------------------------
    // Empty until the register is open (Conectar).
    modelo_ = new ModeloRecibos(QString(), this);
    tabla_->setModel(modelo_);
    // Newest first until the user picks a column: no column shows an indicator.
    tabla_->horizontalHeader()->setSortIndicatorClearable(true);
    tabla_->horizontalHeader()->setSortIndicator(-1, Qt::DescendingOrder);
    tabla_->setSortingEnabled(true);
    tabla_->setColumnWidth(ModeloRecibos::Numero, 90);
    tabla_->setColumnWidth(ModeloRecibos::Fecha, 90);
    tabla_->setColumnWidth(ModeloRecibos::Pagador, 200);
    tabla_->setColumnWidth(ModeloRecibos::Concepto, 200);
    tabla_->setColumnWidth(ModeloRecibos::Total, 100);
    tabla_->setColumnWidth(ModeloRecibos::Emitido, 140);
    // Who has paid: the state filter, the total shown and what is done with a payment.
    cobros_ = new BarraCobros(*registro_, *modelo_, *tabla_, this);
    capas->insertWidget(capas->indexOf(tabla_) + 1, cobros_);
    connect(cobros_, &BarraCobros::EstadosCambiados, this, &RecibosEmitidos::Filtrar);

    connect(buscar_, &QLineEdit::textChanged, this, &RecibosEmitidos::Filtrar);
    for (QCheckBox* c : {usarDesde_, usarHasta_})
        connect(c, &QCheckBox::toggled, this, &RecibosEmitidos::Filtrar);
    lote_->hide(); // until the register is read (LeerLotes)
    connect(lote_, &QComboBox::currentIndexChanged, this, &RecibosEmitidos::Filtrar);
    connect(usarDesde_, &QCheckBox::toggled, desde_, &QWidget::setEnabled);
    connect(usarHasta_, &QCheckBox::toggled, hasta_, &QWidget::setEnabled);
    for (QDateEdit* d : {desde_, hasta_})
        connect(d, &QDateEdit::dateChanged, this, &RecibosEmitidos::Filtrar);
    connect(modelo_, &QAbstractItemModel::modelReset, this, &RecibosEmitidos::ActualizarBotones);
    connect(tabla_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &RecibosEmitidos::ActualizarBotones);

    buscar_->setFocus();
    // A server may keep the answer for seconds: the window shows first, and says so.
    if (registro_->EnServidor() && EnHiloDeVentanas()) {
        estado_->setText(QStringLiteral("Conectando con el servidor del registro…"));
        estado_->show();
        QTimer::singleShot(0, this, &RecibosEmitidos::Conectar);
    } else {
        Conectar();
    }
}

void RecibosEmitidos::Conectar() {
    reintentar_->hide();
    if (!registro_->Abrir()) {
        SinRegistro(registro_->EnServidor()
                        ? QStringLiteral("No se puede conectar con el servidor del registro: %1")
                              .arg(registro_->Error())
                        : QStringLiteral("No se puede abrir el registro %1: %2")
                              .arg(registro_->Ruta(), registro_->Error()));
        return;
    }
    estado_->hide();
    if (const QStringList avisos = RecuperarPendientes(*registro_); !avisos.isEmpty()) {
        estado_->setText(avisos.join(u'\n'));
        estado_->show();
    } else if (!registro_->Apartado().isEmpty()) {
        estado_->setText(QStringLiteral("El registro estaba dañado: se ha apartado como %1 y se "
                                        "ha empezado uno nuevo.")
                             .arg(registro_->Apartado()));
        estado_->show();
    }
    modelo_->setConexion(registro_->Base().connectionName());
    LeerLotes();
    Filtrar();
    const QString numero = registro_->SiguienteNumeroLibre();
    siguiente_->setText(
        numero.isEmpty() ? QString() : QStringLiteral("Siguiente número libre: %1").arg(numero));
    ContarPendientes();
    ActualizarBotones();
}

void RecibosEmitidos::SinRegistro(const QString& texto) {
    estado_->setText(texto);
    estado_->show();
    reintentar_->setVisible(registro_->EnServidor());
}

void RecibosEmitidos::Reintentar() {
    PermitirPreguntarClave(registro_->Ruta());
    estado_->setText(QStringLiteral("Conectando con el servidor del registro…"));
    Conectar();
}

bool RecibosEmitidos::Perdida() {
    if (!registro_->EnServidor())
        return false;
    const QSqlError error = modelo_->lastError();
    // Closed meanwhile: another reading found the connection lost. The driver tells a lost
    // connection as one not open, and the model then reads nothing.
    if (registro_->Abierto()) {
        if (!error.isValid() && registro_->Base().isOpen())
            return false;
        modelo_->Soltar(); // before the connection may close
        if (!registro_->ConexionPerdida())
            return false;
    }
    modelo_->Soltar();
    siguiente_->clear();
    pendientes_->hide();
    const QString detalle = (error.databaseText().isEmpty() ? error.text() : error.databaseText())
                                .section(QLatin1Char('\n'), 0, 0)
                                .trimmed();
    SinRegistro(QStringLiteral("No se puede conectar con el servidor del registro: se ha perdido "
                               "la conexión") +
                (detalle.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(detalle)));
    return true;
}

RecibosEmitidos::~RecibosEmitidos() {
    // The model's query must end before the store closes its connection; the model itself,
    // a child, outlives the store.
    modelo_->clear();
}

void RecibosEmitidos::Filtrar() {
    Filtro f;
    f.texto = buscar_->text();
    if (usarDesde_->isChecked())
        f.desde = desde_->date();
    if (usarHasta_->isChecked())
        f.hasta = hasta_->date();
    f.lote = lote_->currentData().toLongLong();
    f.estados = cobros_->Estados();
    modelo_->setFiltro(f);
    Perdida();
}

void RecibosEmitidos::LeerLotes() {
    const qint64 elegido = lote_->currentData().toLongLong();
    const QSignalBlocker quieto(lote_);
    lote_->clear();
    lote_->addItem(QStringLiteral("Todos los recibos"), qint64(0));
    for (const Registro::Lote& l : registro_->Lotes())
        lote_->addItem(QStringLiteral("Lista del %1: %2 (%3 recibos)")
                           .arg(l.creado.toLocalTime().toString(QStringLiteral("dd/MM/yyyy HH:mm")),
                                QFileInfo(l.archivo).fileName())
                           .arg(l.recibos),
                       l.id);
    lote_->setCurrentIndex(std::max(0, lote_->findData(elegido)));
    lote_->setVisible(lote_->count() > 1);
}

void RecibosEmitidos::MostrarLote(qint64 lote) {
    LeerLotes();
    lote_->setCurrentIndex(std::max(0, lote_->findData(lote)));
    Filtrar();
}

void RecibosEmitidos::Refrescar() {
    // Asked while the register cannot be read: the same as "Reintentar".
    if (!registro_->Abierto()) {
        Conectar();
        return;
    }
    LeerLotes();
    modelo_->Refrescar();
    if (Perdida())
        return;
    ContarPendientes();
    const QString numero = registro_->SiguienteNumeroLibre();
    siguiente_->setText(
        numero.isEmpty() ? QString() : QStringLiteral("Siguiente número libre: %1").arg(numero));
}

void RecibosEmitidos::ActualizarBotones() {
    const bool hay =
        tabla_->selectionModel() != nullptr && tabla_->selectionModel()->hasSelection();
    for (QAction* a : {imprimir_, guardarPdf_, copiar_})
        a->setEnabled(hay);
    // Only an invoice has something to cancel, and only a refused one something to correct.
    const qint64 id = IdSeleccionado();
    const std::optional<RegistroFacturacion> alta =
        id > 0 ? registro_->AltaVigente(id) : std::nullopt;
    const QModelIndexList filas =
        hay ? tabla_->selectionModel()->selectedRows() : QModelIndexList();
    const bool anulado = !filas.isEmpty() && modelo_->AnuladoEnFila(filas.first().row());
    anular_->setEnabled(alta.has_value() && !anulado);
    corregir_->setEnabled(alta && alta->estado == EstadoEnvio::Rechazado && !anulado);
    // Receipts that are no invoices have neither.
    anular_->setVisible(modelo_->ConFacturas());
    corregir_->setVisible(modelo_->ConFacturas());
}

qint64 RecibosEmitidos::IdSeleccionado() const {
    if (tabla_->selectionModel() == nullptr)
        return -1;
    const QModelIndexList filas = tabla_->selectionModel()->selectedRows();
    return filas.isEmpty() ? -1 : modelo_->IdDeFila(filas.first().row());
}

std::optional<CRecibo> RecibosEmitidos::Seleccionado() {
    const qint64 id = IdSeleccionado();
    if (id < 0)
        return std::nullopt;
    std::optional<CRecibo> recibo = registro_->Cargar(id);
    if (recibo)
        if (const std::optional<RegistroFacturacion> alta = registro_->AltaVigente(id))
            recibo->m_Qr =
                QrDeAlta(std::get<verifactu::RegistroAlta>(alta->registro), acciones_.qrProduccion);
    return recibo;
}

void RecibosEmitidos::ContarPendientes() {
    const qint64 n = registro_->Abierto() ? registro_->CuantosPorEnviar() : 0;
    pendientes_->setText(
        n == 0   ? QString()
        : n == 1 ? QStringLiteral("1 registro VERI*FACTU pendiente de enviar")
                 : QStringLiteral("%1 registros VERI*FACTU pendientes de enviar").arg(n));
    pendientes_->setVisible(n > 0);
}

void RecibosEmitidos::Anular() {
    const qint64 id = IdSeleccionado();
    const std::optional<CRecibo> recibo = id > 0 ? registro_->Cargar(id) : std::nullopt;
    if (!recibo || !registro_->AltaVigente(id))
        return;
    const QString numero = QString::fromStdString(recibo->m_Numero).trimmed();
    QMessageBox pregunta(
        QMessageBox::Question, QStringLiteral("Anular factura"),
        QStringLiteral("¿Anular el recibo %1?\n\nSe anota un registro de anulación, que se "
                       "envía a la AEAT, y el recibo queda en el registro marcado como anulado: "
                       "ya no podrá reimprimirse como válido. Anule solo una factura que no "
                       "debió emitirse; para cambiar una operación real hace falta una factura "
                       "rectificativa.")
            .arg(numero),
        QMessageBox::Yes | QMessageBox::No, this);
    pregunta.setObjectName(QStringLiteral("preguntaAnular"));
    pregunta.setDefaultButton(QMessageBox::No);
    if (pregunta.exec() != QMessageBox::Yes)
        return;
    if (!registro_->Anular(id, QDate::currentDate()))
        QMessageBox::warning(
            this, QStringLiteral("Anular factura"),
            QStringLiteral("No se ha anulado el recibo %1: %2").arg(numero, registro_->Error()));
    Refrescar();
    ActualizarBotones();
}

void RecibosEmitidos::Corregir() {
    const qint64 id = IdSeleccionado();
    const std::optional<RegistroFacturacion> alta =
        id > 0 ? registro_->AltaVigente(id) : std::nullopt;
    const std::optional<CRecibo> recibo = id > 0 ? registro_->Cargar(id) : std::nullopt;
    if (!alta || alta->estado != EstadoEnvio::Rechazado || !recibo)
        return;
    if (acciones_.copiarAlFormulario)
        acciones_.copiarAlFormulario(*recibo);
    auto* aviso = new QMessageBox(
        QMessageBox::Information, QStringLiteral("Corregir factura"),
        QStringLiteral("La AEAT rechazó el recibo %1%2.\n\nEstá copiado en el formulario: "
                       "corríjalo y emítalo de nuevo con el mismo número. Su nuevo registro irá "
                       "a la AEAT como subsanación del rechazado.")
            .arg(QString::fromStdString(recibo->m_Numero).trimmed(),
                 alta->codigo == 0
                     ? QString()
                     : QStringLiteral(" (código %1: %2)").arg(alta->codigo).arg(alta->descripcion)),
        QMessageBox::Ok, this);
    aviso->setObjectName(QStringLiteral("avisoCorregir"));
    aviso->setAttribute(Qt::WA_DeleteOnClose);
    aviso->setModal(false);
    aviso->show();
}

void RecibosEmitidos::Ejecutar(const std::function<void(const CRecibo&)>& accion,
                               bool reimpresion) {
    if (reimpresion) {
        const QModelIndexList filas = tabla_->selectionModel()->selectedRows();
        if (!filas.isEmpty() && modelo_->AnuladoEnFila(filas.first().row())) {
            QMessageBox::warning(this, windowTitle(),
                                 QStringLiteral("Este recibo está anulado: no puede volver a "
                                                "imprimirse ni guardarse como una factura "
                                                "válida."));
            return;
        }
    }
    const std::optional<CRecibo> recibo = Seleccionado();
    if (!recibo) {
        if (!registro_->Error().isEmpty())
            QMessageBox::warning(this, windowTitle(),
                                 QStringLiteral("No se puede leer el recibo del registro: %1")
                                     .arg(registro_->Error()));
        return;
    }
    if (accion)
        accion(*recibo);
}

void RecibosEmitidos::Exportar() {
    const QString inicio = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) +
                           QStringLiteral("/recibos.csv");
    const QString archivo =
        QFileDialog::getSaveFileName(this, QStringLiteral("Exportar recibos"), inicio,
                                     QStringLiteral("Hoja de cálculo CSV (*.csv)"));
    if (archivo.isEmpty())
        return;
    QString error;
    if (!ExportarA(archivo, error))
        QMessageBox::warning(
            this, QStringLiteral("Exportar recibos"),
            QStringLiteral("No se han podido exportar los recibos: %1").arg(error));
}

} // namespace registro

namespace registro {

bool RecibosEmitidos::ExportarA(const QString& archivo, QString& error) {
    error = DestinoNoAdmitido(archivo, registro_->Ruta());
    if (!error.isEmpty())
        return false;
    return ExportarCsv(registro_->Base(), modelo_->filtro(), modelo_->OrdenSql(), archivo, error);
}

} // namespace registro
