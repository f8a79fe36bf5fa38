#include "verifactu/DatosVerifactu.h"

#include "platform/SettingsStore.h"
#include "platform/Today.h"
#include "tipos/TiposGuardados.h"
#include "verifactu/IdentificadorFiscal.h"
#include "verifactu/Productor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QUuid>
#include <QVBoxLayout>

#include <algorithm>

namespace verifactu {

namespace {

const QString kTituloVerifactu = QStringLiteral("VERI*FACTU");
constexpr int kLargoNombre = 120; // NombreRazon of the agency's records

const QString kPruebas = QStringLiteral("pruebas");

QString Texto(const std::string& texto) {
    return QString::fromStdString(texto);
}

int AnioDeHoy() {
    return platform::Today().anio;
}

bool ListasOriginales(const tipos::Listas& listas) {
    return std::all_of(tipos::kImpuestos.begin(), tipos::kImpuestos.end(), [&](tipos::Impuesto i) {
        return tipos::SonOriginales(i, listas[static_cast<int>(i)]);
    });
}

tipos::Listas ListasVigentes() {
    tipos::Listas listas;
    for (const tipos::Impuesto i : tipos::kImpuestos)
        listas[static_cast<int>(i)] = tipos::Vigentes(i);
    return listas;
}

// Today's rates of one list, as the note names them: "0, 4, 10, 21 %".
QString Enumerar(tipos::Impuesto impuesto) {
    QStringList items;
    for (const std::string& item : tipos::Vigentes(impuesto))
        items << Texto(item);
    return items.join(QStringLiteral(", ")) + QStringLiteral(" %");
}

QLabel* Nota(QWidget* parent, const char* nombreObjeto, const QString& texto = {}) {
    auto* nota = new QLabel(texto, parent);
    nota->setObjectName(QLatin1String(nombreObjeto));
    nota->setWordWrap(true);
    return nota;
}

} // namespace

DatosVerifactu::DatosVerifactu(QWidget* parent,
                               std::function<void(const tipos::Listas&)> listasNuevas)
    : QDialog(parent), listasNuevas_(std::move(listasNuevas)),
      activo_(new QCheckBox(QStringLiteral("E&mitir como factura con VERI*FACTU"), this)),
      avisoBaja_(Nota(this, "avisoBaja")), nif_(new QLineEdit(this)), nombre_(new QLineEdit(this)),
      certificado_(new QLineEdit(this)), entorno_(new QComboBox(this)), iva0_(new QComboBox(this)),
      ofertaTipos_(new QWidget(this)), tiposVigentes_(new QCheckBox(ofertaTipos_)) {
    setObjectName(QStringLiteral("datosVerifactu"));
    setWindowTitle(kTituloVerifactu);
    activo_->setObjectName(QStringLiteral("activo"));
    nif_->setObjectName(QStringLiteral("emisorNif"));
    nif_->setPlaceholderText(QStringLiteral("B12345674"));
    nombre_->setObjectName(QStringLiteral("emisorNombre"));
    nombre_->setMaxLength(kLargoNombre);
    certificado_->setObjectName(QStringLiteral("certificado"));
    certificado_->setPlaceholderText(
        QStringLiteral("Fichero .p12 o .pfx, como lo entrega la FNMT"));
    entorno_->setObjectName(QStringLiteral("entorno"));
    iva0_->setObjectName(QStringLiteral("iva0"));
    iva0_->addItem(QStringLiteral("Exenta (art. 20 LIVA)"), QStringLiteral("exenta"));
    iva0_->addItem(QStringLiteral("Sujeta al 0 %"), QStringLiteral("sujeta"));
    tiposVigentes_->setObjectName(QStringLiteral("tiposVigentes"));
    tiposVigentes_->setText(QStringLiteral("&Usar los tipos vigentes en España"));

    auto* explicacion = Nota(
        this, "explicacion",
        QStringLiteral("Con VERI*FACTU cada recibo sale como factura: queda anotado en un "
                       "registro encadenado, lleva el código QR tributario y se envía a la "
                       "Agencia Tributaria con el certificado del emisor (la contraseña se pide "
                       "al enviar y no se guarda). Quien no emite facturas (una comunidad de "
                       "propietarios, quien alquila una vivienda a un particular) no lo "
                       "necesita."));

    auto* elegir = new QPushButton(QStringLiteral("E&legir…"), this);
    elegir->setObjectName(QStringLiteral("elegirCertificado"));
    elegir->setAutoDefault(false);
    connect(elegir, &QPushButton::clicked, this, &DatosVerifactu::ElegirCertificado);
    auto* filaCertificado = new QHBoxLayout;
    filaCertificado->addWidget(certificado_, 1);
    filaCertificado->addWidget(elegir);

    auto* campos = new QFormLayout;
    campos->addRow(QStringLiteral("&NIF del emisor:"), nif_);
    campos->addRow(QStringLiteral("N&ombre o razón social:"), nombre_);
    auto* etiquetaCertificado = new QLabel(QStringLiteral("&Certificado:"), this);
    etiquetaCertificado->setBuddy(certificado_); // a row of two widgets takes no buddy itself
    campos->addRow(etiquetaCertificado, filaCertificado);
    campos->addRow(QStringLiteral("&Entorno:"), entorno_);
    campos->addRow(QStringLiteral("&IVA al 0 %:"), iva0_);

    auto* botones = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    botones->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Aceptar"));
    botones->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancelar"));
    connect(botones, &QDialogButtonBox::accepted, this, &DatosVerifactu::accept);
    connect(botones, &QDialogButtonBox::rejected, this, &DatosVerifactu::reject);

    auto* columna = new QVBoxLayout(this);
    columna->addWidget(explicacion);
    columna->addWidget(activo_);
    columna->addWidget(avisoBaja_);
    columna->addLayout(campos);

    // What is stored, and what this build may offer.
    const platform::SettingsStore store;
    guardados_ = LeerAjustes(store);
    listasOriginales_ = ListasOriginales(tipos::Leer(store));
    const bool hayProductor = !ProductorDeLaCompilacion().nif.empty();
    if (hayProductor)
        entorno_->addItem(QStringLiteral("AEAT (producción)"), QString());
    entorno_->addItem(QStringLiteral("AEAT (pruebas)"), kPruebas);
    const QString servidor = Texto(guardados_.servidor);
    if (!servidor.isEmpty() && servidor != kPruebas)
        entorno_->addItem(servidor, servidor); // a service named by hand stays as it is
    entorno_->setCurrentIndex(std::max(0, entorno_->findData(servidor)));
    if (!hayProductor) {
        columna->addWidget(Nota(
            this, "sinProductor",
            QStringLiteral("Esta compilación de Talvero no lleva el NIF de quien la distribuye "
                           "(TALVERO_PRODUCTOR_NIF), que los registros deben llevar: solo puede "
                           "enviar al entorno de pruebas de la Agencia Tributaria.")));
    }
    // Offered only while the lists are the original ones: a receipt at 7 or 16 % would be
    // refused.
    auto* oferta = new QVBoxLayout(ofertaTipos_);
    oferta->setContentsMargins(0, 0, 0, 0);
    oferta->addWidget(Nota(ofertaTipos_, "notaTipos",
                           QStringLiteral("Las listas de porcentajes son las originales, y la "
                                          "Agencia Tributaria ya no admite el IVA al 7 ni al "
                                          "16 %. Los tipos vigentes son: IVA %1; RE %2; IRPF %3.")
                               .arg(Enumerar(tipos::Impuesto::Iva), Enumerar(tipos::Impuesto::Re),
                                    Enumerar(tipos::Impuesto::Irpf))));
    oferta->addWidget(tiposVigentes_);
    columna->addWidget(ofertaTipos_);
    columna->addWidget(botones);
    setMinimumWidth(fontMetrics().averageCharWidth() * 80);

    activo_->setChecked(guardados_.activo);
    nif_->setText(Texto(guardados_.emisorNif));
    nombre_->setText(Texto(guardados_.emisorNombre));
    certificado_->setText(Texto(guardados_.certificado));
    iva0_->setCurrentIndex(guardados_.ivaCeroSujeta ? 1 : 0);
    tiposVigentes_->setChecked(true);
    connect(activo_, &QCheckBox::toggled, this, &DatosVerifactu::Actualizar);
    Actualizar();
}

void DatosVerifactu::Actualizar() {
    const platform::LocalDate fecha = platform::Today();
    const int anio = fecha.anio;
    const std::string hoy = QStringLiteral("%1-%2-%3")
                                .arg(anio, 4, 10, QLatin1Char('0'))
                                .arg(fecha.mes, 2, 10, QLatin1Char('0'))
                                .arg(fecha.dia, 2, 10, QLatin1Char('0'))
                                .toStdString();
    // Switched off now, or earlier this year: the mode lasts until 31 December.
    const bool sigueEsteAnio =
        !activo_->isChecked() && (guardados_.activo || guardados_.VigenteEl(hoy));
    avisoBaja_->setText(
        QStringLiteral("VERI*FACTU sigue en vigor hasta el 31 de diciembre de %1: una vez "
                       "activado, no se puede dejar antes de que acabe el año. La baja surte "
                       "efecto el 1 de enero de %2.")
            .arg(anio)
            .arg(anio + 1));
    avisoBaja_->setVisible(sigueEsteAnio);
    ofertaTipos_->setVisible(activo_->isChecked() && listasOriginales_);
    // A notice shown grows the window rather than squeezing the fields.
    if (layout() != nullptr) {
        layout()->activate();
        resize(size().expandedTo(sizeHint()));
    }
}

void DatosVerifactu::ElegirCertificado() {
    const QString actual = certificado_->text();
    const QString elegido = QFileDialog::getOpenFileName(
        this, QStringLiteral("Certificado del emisor"),
        actual.isEmpty() ? QString() : QFileInfo(actual).absolutePath(),
        QStringLiteral("Certificados PKCS#12 (*.p12 *.pfx *.P12 *.PFX)"));
    if (!elegido.isEmpty())
        certificado_->setText(elegido);
}

void DatosVerifactu::accept() {
    const bool activo = activo_->isChecked();
    const std::string nif = NormalizarIdentificador(nif_->text().toStdString());
    const QString nombre = nombre_->text().simplified();
    const QString certificado = certificado_->text().trimmed();

    // The first fault, with the field it belongs to. A field may stay empty while the mode
    // is off; what is written must be right all the same.
    QString fallo;
    QWidget* campo = nullptr;
    if (activo || !nif.empty()) {
        if (const std::string motivo = MotivoIdentificador(nif); !motivo.empty()) {
            fallo = QStringLiteral("NIF del emisor: %1").arg(Texto(motivo));
            campo = nif_;
        }
    }
    if (campo == nullptr && activo && nombre.isEmpty()) {
        fallo = QStringLiteral("Nombre o razón social: falta el nombre del emisor de las "
                               "facturas.");
        campo = nombre_;
    }
    if (campo == nullptr && activo && certificado.isEmpty()) {
        fallo = QStringLiteral("Certificado: elija el fichero .p12 o .pfx del certificado con "
                               "el que se envían los registros.");
        campo = certificado_;
    }
    if (campo == nullptr && !certificado.isEmpty()) {
        const QFileInfo fichero(certificado);
        if (!fichero.isFile() || !fichero.isReadable()) {
            fallo = QStringLiteral("Certificado: no se puede leer el fichero «%1»: no existe, "
                                   "no es un fichero o no tiene permiso de lectura.")
                        .arg(certificado);
            campo = certificado_;
        }
    }
    if (campo != nullptr) {
        QMessageBox::warning(this, kTituloVerifactu, fallo);
        campo->setFocus();
        if (auto* linea = qobject_cast<QLineEdit*>(campo))
            linea->selectAll();
        return;
    }

    Ajustes nuevos = guardados_;
    nuevos.emisorNif = nif;
    nuevos.emisorNombre = nombre.toStdString();
    nuevos.certificado = certificado.toStdString();
    nuevos.servidor = entorno_->currentData().toString().toStdString();
    nuevos.ivaCeroSujeta = iva0_->currentData().toString() == QStringLiteral("sujeta");
    if (nuevos.instalacion.empty())
        nuevos.instalacion = QUuid::createUuid().toString(QUuid::WithoutBraces).toStdString();
    if (activo) {
        nuevos.activo = true;
        nuevos.hasta.clear();
    } else if (guardados_.activo) {
        nuevos.activo = false;
        nuevos.hasta =
            QStringLiteral("%1-12-31").arg(AnioDeHoy(), 4, 10, QLatin1Char('0')).toStdString();
    }
    const bool cambiarTipos = !ofertaTipos_->isHidden() && tiposVigentes_->isChecked();

    platform::SettingsStore store;
    EscribirAjustes(store, nuevos);
    if (cambiarTipos)
        tipos::Escribir(store, ListasVigentes());
    if (!store.Flush()) {
        QMessageBox::warning(
            this, kTituloVerifactu,
            QStringLiteral("No se han podido guardar los ajustes: %1").arg(Texto(store.Problem())));
        return;
    }
    if (cambiarTipos && listasNuevas_)
        listasNuevas_(ListasVigentes());
    QDialog::accept();
}

void MostrarDatosVerifactu(QWidget* parent,
                           std::function<void(const tipos::Listas&)> listasNuevas) {
    auto* ventana = parent->findChild<DatosVerifactu*>(QStringLiteral("datosVerifactu"),
                                                       Qt::FindDirectChildrenOnly);
    if (ventana == nullptr) {
        ventana = new DatosVerifactu(parent, std::move(listasNuevas));
        ventana->setAttribute(Qt::WA_DeleteOnClose);
        ventana->setWindowModality(Qt::WindowModal);
    }
    ventana->show();
    ventana->raise();
    ventana->activateWindow();
}

} // namespace verifactu
