#include "register/BarraCobros.h"

#include "amounts/moneda.h"
#include "platform/SettingsStore.h"
#include "register/Cobros.h"
#include "register/ExportarCsv.h"
#include "register/ModeloRecibos.h"
#include "register/RemesaDevueltos.h"
#include "sepa/AjustesAcreedor.h"
#include "sepa/EscribirRemesa.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QSqlQuery>
#include <QTableView>
#include <QToolButton>

namespace registro {

namespace {

QToolButton* BotonDeCobro(const QString& texto, const char* nombre, QWidget* parent) {
    auto* b = new QToolButton(parent);
    b->setText(texto);
    b->setObjectName(QLatin1String(nombre));
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return b;
}

// A date asked for in a small dialog; invalid when cancelled.
QDate PedirFecha(QWidget* parent, const QString& titulo, const QString& etiqueta,
                 const QDate& inicial) {
    QDialog d(parent);
    d.setWindowTitle(titulo);
    auto* fecha = new QDateEdit(inicial, &d);
    fecha->setObjectName(QStringLiteral("fecha"));
    fecha->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    fecha->setCalendarPopup(true);
    auto* botones = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &d);
    QObject::connect(botones, &QDialogButtonBox::accepted, &d, &QDialog::accept);
    QObject::connect(botones, &QDialogButtonBox::rejected, &d, &QDialog::reject);
    auto* capas = new QFormLayout(&d);
    capas->addRow(etiqueta, fecha);
    capas->addRow(botones);
    return d.exec() == QDialog::Accepted ? fecha->date() : QDate();
}

QDate FechaQt(const sepa::Fecha& f) {
    return QDate(int(f.year()), int(unsigned(f.month())), int(unsigned(f.day())));
}

} // namespace

BarraCobros::BarraCobros(Registro& registro, ModeloRecibos& modelo, QTableView& tabla,
                         QWidget* parent)
    : QWidget(parent), registro_(registro), modelo_(modelo), tabla_(tabla) {
    setObjectName(QStringLiteral("barraCobros"));
    estado_ = new QComboBox(this);
    estado_->setObjectName(QStringLiteral("estadoCobro"));
    estado_->setToolTip(QStringLiteral("Solo los recibos en ese estado de cobro hoy"));
    estado_->addItem(QStringLiteral("Cualquier estado de cobro"), QStringList());
    estado_->addItem(QStringLiteral("Pendientes de cobro"),
                     QStringList{NombreEstado(Estado::Pendiente), NombreEstado(Estado::Devuelto)});
    for (Estado e : {Estado::Pendiente, Estado::SinSeguimiento, Estado::EnRemesa, Estado::Cobrado,
                     Estado::Devuelto, Estado::Anulado})
        estado_->addItem(NombreEstado(e), QStringList{NombreEstado(e)});
    total_ = new QLabel(this);
    total_->setObjectName(QStringLiteral("totalFiltro"));
    marcar_ = BotonDeCobro(QStringLiteral("Marcar como &cobrado…"), "marcarCobrado", this);
    deshacer_ = BotonDeCobro(QStringLiteral("Des&hacer cobro"), "deshacerCobro", this);
    otraVez_ = BotonDeCobro(QStringLiteral("&Volver a cobrar…"), "volverACobrar", this);
    otraVez_->setToolTip(QStringLiteral("Una remesa nueva de los recibos devueltos elegidos"));

    auto* capas = new QHBoxLayout(this);
    capas->setContentsMargins(0, 0, 0, 0);
    capas->addWidget(estado_);
    capas->addWidget(total_, 1);
    for (QToolButton* b : {marcar_, deshacer_, otraVez_})
        capas->addWidget(b);

    connect(estado_, &QComboBox::currentIndexChanged, this, &BarraCobros::EstadosCambiados);
    connect(&modelo_, &QAbstractItemModel::modelReset, this, &BarraCobros::ActualizarTotal);
    connect(&modelo_, &QAbstractItemModel::modelReset, this, &BarraCobros::ActualizarBotones);
    connect(tabla_.selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &BarraCobros::ActualizarBotones);
    connect(marcar_, &QToolButton::clicked, this, &BarraCobros::PedirFechaYMarcar);
    connect(deshacer_, &QToolButton::clicked, this, [this] {
        QString error;
        if (!DeshacerCobro(error))
            Avisar(error);
    });
    connect(otraVez_, &QToolButton::clicked, this, &BarraCobros::PedirRemesa);
    ActualizarTotal();
    ActualizarBotones();
}

QStringList BarraCobros::Estados() const {
    return estado_->currentData().toStringList();
}

QList<qint64> BarraCobros::Seleccionados() const {
    QList<qint64> ids;
    if (tabla_.selectionModel() == nullptr)
        return ids;
    for (const QModelIndex& i : tabla_.selectionModel()->selectedRows())
        if (const qint64 id = modelo_.IdDeFila(i.row()); id >= 0)
            ids << id;
    return ids;
}

void BarraCobros::ActualizarBotones() {
    const bool hay = !Seleccionados().isEmpty();
    for (QToolButton* b : {marcar_, deshacer_, otraVez_})
        b->setEnabled(hay);
}

// Every row the filters show, not only those fetched so far.
void BarraCobros::ActualizarTotal() {
    const QSqlDatabase db = registro_.Base();
    if (!db.isOpen()) { // a server not reached: nothing to count
        total_->clear();
        return;
    }
    const Condicion c = CondicionDe(modelo_.filtro());
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT count(*), coalesce(sum(total), 0)") + c.desde + c.where);
    for (const QVariant& v : c.valores)
        q.addBindValue(v);
    if (!q.exec() || !q.next()) {
        total_->clear();
        return;
    }
    const qint64 n = q.value(0).toLongLong();
    total_->setText(QStringLiteral("%1 %2, total %3 €")
                        .arg(QLocale(QLocale::Spanish).toString(n),
                             n == 1 ? QStringLiteral("recibo") : QStringLiteral("recibos"),
                             EurosCsv(q.value(1).toLongLong())));
}

bool BarraCobros::MarcarCobrado(const QDate& fecha, QString& error) {
    const bool ok = registro::MarcarCobrado(registro_, Seleccionados(), fecha, error);
    modelo_.Refrescar();
    return ok;
}

bool BarraCobros::DeshacerCobro(QString& error) {
    const qint64 n = registro::DeshacerCobro(registro_, Seleccionados(), error);
    modelo_.Refrescar();
    if (n == 0)
        error = QStringLiteral("Ninguno de los recibos elegidos tiene un cobro marcado a mano.");
    return n > 0;
}

QString BarraCobros::VolverACobrar(const QString& ruta, const QDate& cobro, std::int64_t gastos) {
    const platform::SettingsStore ajustes;
    const sepa::AcreedorCargado acreedor = sepa::CargarAcreedor(ajustes);
    if (!acreedor.error.empty())
        return QString::fromStdString(acreedor.error);
    PedidoDevueltos pedido;
    pedido.ruta = ruta;
    pedido.cobro = cobro;
    pedido.recibos = Seleccionados();
    pedido.gastos = gastos;
    pedido.acreedor = acreedor.acreedor;
    pedido.formato =
        sepa::FormatoDeRemesa(QString::fromStdString(sepa::LeerVersionRemesa(ajustes)));
    const RemesaDeDevueltos r = RemesaDevueltos(registro_, pedido);
    modelo_.Refrescar();
    QString texto = r.Escrita() ? QStringLiteral("Remesa %1: %2 %3 en «%4».")
                                      .arg(r.escrita.msgId)
                                      .arg(r.escrita.adeudos)
                                      .arg(r.escrita.adeudos == 1 ? QStringLiteral("adeudo")
                                                                  : QStringLiteral("adeudos"),
                                           ruta)
                                : r.error;
    if (!r.gastos.isEmpty())
        texto += QStringLiteral("\nRecibos de gastos de devolución: %1.")
                     .arg(r.gastos.join(QStringLiteral(", ")));
    if (!r.excluidos.isEmpty())
        texto += QStringLiteral("\n\nQuedan fuera:\n") + r.excluidos.join(QLatin1Char('\n'));
    if (!r.avisos.isEmpty())
        texto += QStringLiteral("\n\n") + r.avisos.join(QLatin1Char('\n'));
    return texto;
}

void BarraCobros::PedirFechaYMarcar() {
    const QDate fecha = PedirFecha(this, QStringLiteral("Marcar como cobrado"),
                                   QStringLiteral("Cobrado el"), QDate::currentDate());
    QString error;
    if (fecha.isValid() && !MarcarCobrado(fecha, error))
        Avisar(error);
}

void BarraCobros::PedirRemesa() {
    const sepa::Fecha hoy = sepa::Hoy();
    QDialog d(this);
    d.setObjectName(QStringLiteral("dialogoVolverACobrar"));
    d.setWindowTitle(QStringLiteral("Volver a cobrar"));
    auto* cobro = new QDateEdit(FechaQt(sepa::PrimerDiaValido(hoy, hoy)), &d);
    cobro->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    cobro->setCalendarPopup(true);
    auto* repercutir = new QCheckBox(QStringLiteral("&Repercutir gastos de devolución"), &d);
    repercutir->setObjectName(QStringLiteral("repercutirGastos"));
    auto* importe = new QLineEdit(&d);
    importe->setObjectName(QStringLiteral("importeGastos"));
    importe->setPlaceholderText(QStringLiteral("3,50"));
    importe->setEnabled(false);
    connect(repercutir, &QCheckBox::toggled, importe, &QWidget::setEnabled);
    auto* botones = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &d);
    connect(botones, &QDialogButtonBox::accepted, &d, &QDialog::accept);
    connect(botones, &QDialogButtonBox::rejected, &d, &QDialog::reject);
    auto* capas = new QFormLayout(&d);
    capas->addRow(QStringLiteral("Fecha de cobro"), cobro);
    capas->addRow(repercutir, importe);
    capas->addRow(botones);
    if (d.exec() != QDialog::Accepted)
        return;
    std::int64_t gastos = 0;
    if (repercutir->isChecked()) {
        // Euros with at most two decimals, above zero: a fee is charged to the cent.
        const moneda::Currency leido = moneda::ParseCurrency(importe->text().toStdString());
        if (!leido.isValid() || leido.value() <= 0 || leido.value() % 100 != 0) {
            Avisar(QStringLiteral("«%1» no es un importe en euros mayor que cero, como 3,50: no "
                                  "se ha escrito ninguna remesa.")
                       .arg(importe->text()));
            return;
        }
        gastos = leido.value() / 100;
    }
    const QString ruta = QFileDialog::getSaveFileName(
        this, QStringLiteral("Remesa de los recibos devueltos"), QString(),
        QStringLiteral("Remesa SEPA (*.xml)"), nullptr, QFileDialog::DontConfirmOverwrite);
    if (!ruta.isEmpty())
        Avisar(VolverACobrar(ruta, cobro->date(), gastos));
}

void BarraCobros::Avisar(const QString& texto) {
    auto* aviso = new QMessageBox(QMessageBox::Information, QStringLiteral("Recibos emitidos"),
                                  texto, QMessageBox::Ok, this);
    aviso->setObjectName(QStringLiteral("avisoCobros"));
    aviso->setAttribute(Qt::WA_DeleteOnClose);
    aviso->show();
}

} // namespace registro
