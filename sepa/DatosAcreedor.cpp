#include "sepa/DatosAcreedor.h"

#include "platform/SettingsStore.h"
#include "sepa/AjustesAcreedor.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace sepa {

namespace {

const QString kTitulo = QStringLiteral("Datos del acreedor");

QLineEdit* Campo(QWidget* parent, const char* nombreObjeto, const QString& ejemplo) {
    auto* campo = new QLineEdit(parent);
    campo->setObjectName(QLatin1String(nombreObjeto));
    campo->setPlaceholderText(ejemplo);
    return campo;
}

QString ATexto(const std::string& texto) {
    return QString::fromStdString(texto);
}

} // namespace

DatosAcreedor::DatosAcreedor(QWidget* parent)
    : QDialog(parent),
      nombre_(Campo(this, "nombre", QStringLiteral("Comunidad de propietarios C/ Mayor 12"))),
      identificador_(Campo(this, "identificador", QStringLiteral("ES12 000 B12345678"))),
      iban_(Campo(this, "iban", QStringLiteral("ES00 0000 0000 0000 0000 0000"))),
      bic_(Campo(this, "bic", QStringLiteral("8 u 11 caracteres; puede quedar vacío"))),
      version_(new QComboBox(this)) {
    version_->setObjectName(QStringLiteral("versionRemesa"));
    version_->addItem(QStringLiteral("pain.008.001.08 (la de hoy, que todo banco admite)"),
                      QString::fromLatin1(kRemesa08));
    version_->addItem(QStringLiteral("pain.008.001.02 (la anterior, si su banco la pide)"),
                      QString::fromLatin1(kRemesa02));
    setObjectName(QStringLiteral("datosAcreedor"));
    setWindowTitle(kTitulo);

    auto* explicacion = new QLabel(
        QStringLiteral("Quien cobra los recibos por el banco: el identificador SEPA se lo da "
                       "su banco, y el IBAN es la cuenta donde se abonan."),
        this);
    explicacion->setWordWrap(true);

    auto* campos = new QFormLayout;
    campos->addRow(QStringLiteral("&Nombre:"), nombre_);
    campos->addRow(QStringLiteral("&Identificador SEPA:"), identificador_);
    campos->addRow(QStringLiteral("I&BAN:"), iban_);
    campos->addRow(QStringLiteral("B&IC:"), bic_);
    campos->addRow(QStringLiteral("&Versión del fichero:"), version_);

    auto* botones = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    botones->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Aceptar"));
    botones->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancelar"));
    connect(botones, &QDialogButtonBox::accepted, this, &DatosAcreedor::accept);
    connect(botones, &QDialogButtonBox::rejected, this, &DatosAcreedor::reject);

    auto* columna = new QVBoxLayout(this);
    columna->addWidget(explicacion);
    columna->addLayout(campos);
    columna->addWidget(botones);
    setMinimumWidth(fontMetrics().averageCharWidth() * 70);

    const platform::SettingsStore ajustes;
    const Acreedor guardado = LeerAcreedor(ajustes);
    version_->setCurrentIndex(
        version_->findData(QString::fromStdString(LeerVersionRemesa(ajustes))));
    nombre_->setText(ATexto(guardado.nombre));
    identificador_->setText(ATexto(guardado.identificador));
    iban_->setText(ATexto(guardado.iban));
    bic_->setText(ATexto(guardado.bic));
}

void DatosAcreedor::accept() {
    const Acreedor acreedor =
        Normalizado(Acreedor{nombre_->text().toStdString(), identificador_->text().toStdString(),
                             iban_->text().toStdString(), bic_->text().toStdString()});
    if (const auto problema = ComprobarAcreedor(acreedor)) {
        QLineEdit* campo = problema->campo == "Nombre"          ? nombre_
                           : problema->campo == "Identificador" ? identificador_
                           : problema->campo == "IBAN"          ? iban_
                                                                : bic_;
        QMessageBox::warning(
            this, kTitulo,
            QStringLiteral("%1: %2").arg(ATexto(problema->campo), ATexto(problema->mensaje)));
        campo->setFocus();
        campo->selectAll();
        return;
    }

    platform::SettingsStore store;
    EscribirAcreedor(store, acreedor);
    EscribirVersionRemesa(store, version_->currentData().toString().toStdString());
    if (!store.Flush()) {
        QMessageBox::warning(this, kTitulo,
                             QStringLiteral("No se han podido guardar los ajustes: %1")
                                 .arg(ATexto(store.Problem())));
        return;
    }
    QDialog::accept();
}

void MostrarDatosAcreedor(QWidget* parent) {
    auto* ventana = parent->findChild<DatosAcreedor*>(QStringLiteral("datosAcreedor"),
                                                      Qt::FindDirectChildrenOnly);
    if (ventana == nullptr) {
        ventana = new DatosAcreedor(parent);
        ventana->setAttribute(Qt::WA_DeleteOnClose);
        ventana->setWindowModality(Qt::WindowModal);
    }
    ventana->show();
    ventana->raise();
    ventana->activateWindow();
}

} // namespace sepa
