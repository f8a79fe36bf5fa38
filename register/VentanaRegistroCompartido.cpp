#include "register/VentanaRegistroCompartido.h"

#include "platform/SettingsStore.h"
#include "register/CopiarRegistro.h"
#include "register/Dialecto.h"
#include "register/Pgpass.h"
#include "register/ProbarRegistro.h"
#include "register/Registro.h"
#include "register/UriPostgres.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QThread>
#include <QVBoxLayout>

#include <memory>

namespace registro {

namespace {

constexpr char kClaveRegistro[] = "Registro";

QString UriGuardada() {
    return QString::fromStdString(
               platform::SettingsStore().GetString(platform::kTalveroSection, kClaveRegistro))
        .trimmed();
}

} // namespace

VentanaRegistroCompartido::VentanaRegistroCompartido(QString archivo, QWidget* parent)
    : QDialog(parent), archivo_(std::move(archivo)) {
    setObjectName(QStringLiteral("registroCompartido"));
    setWindowTitle(QStringLiteral("Registro compartido"));
    const auto nombrar = [](QWidget* w, const char* nombre) {
        w->setObjectName(QLatin1String(nombre));
        return w;
    };

    enEsteEquipo_ = new QRadioButton(QStringLiteral("Registro en &este equipo"), this);
    enServidor_ =
        new QRadioButton(QStringLiteral("Registro &compartido en un servidor PostgreSQL"), this);
    nombrar(enEsteEquipo_, "enEsteEquipo");
    nombrar(enServidor_, "enServidor");
    auto* eleccion = new QButtonGroup(this);
    eleccion->addButton(enEsteEquipo_);
    eleccion->addButton(enServidor_);

    servidor_ = new QLineEdit(this);
    puerto_ = new QSpinBox(this);
    puerto_->setRange(1, 65535);
    base_ = new QLineEdit(this);
    usuario_ = new QLineEdit(this);
    cifrado_ = new QComboBox(this);
    cifrado_->addItem(QStringLiteral("Si el servidor lo ofrece (prefer)"),
                      QStringLiteral("prefer"));
    cifrado_->addItem(QStringLiteral("Siempre (require)"), QStringLiteral("require"));
    cifrado_->addItem(QStringLiteral("Siempre, comprobando el certificado del servidor "
                                     "(verify-full)"),
                      QStringLiteral("verify-full"));
    clave_ = new QLineEdit(this);
    clave_->setEchoMode(QLineEdit::Password);
    guardarClave_ = new QCheckBox(QStringLiteral("&Guardar la contraseña en ~/.pgpass"), this);
    nombrar(servidor_, "servidor");
    nombrar(puerto_, "puerto");
    nombrar(base_, "base");
    nombrar(usuario_, "usuario");
    nombrar(cifrado_, "cifrado");
    nombrar(clave_, "clave");
    nombrar(guardarClave_, "guardarClave");

    auto* campos = new QFormLayout;
    campos->addRow(QStringLiteral("&Servidor:"), servidor_);
    campos->addRow(QStringLiteral("&Puerto:"), puerto_);
    campos->addRow(QStringLiteral("&Base de datos:"), base_);
    campos->addRow(QStringLiteral("&Usuario:"), usuario_);
    campos->addRow(QStringLiteral("C&ifrado:"), cifrado_);
    campos->addRow(QStringLiteral("C&ontraseña:"), clave_);
    campos->addRow(QString(), guardarClave_);

    probar_ = new QPushButton(QStringLiteral("P&robar conexión"), this);
    copiar_ =
        new QPushButton(QStringLiteral("Copiar los recibos de este equipo al ser&vidor"), this);
    nombrar(probar_, "probar");
    nombrar(copiar_, "copiar");
    auto* acciones = new QHBoxLayout;
    acciones->addWidget(probar_);
    acciones->addWidget(copiar_);
    acciones->addStretch();

    resultado_ = new QLabel(this);
    nombrar(resultado_, "resultado");
    resultado_->setWordWrap(true);
    resultado_->setTextFormat(Qt::PlainText);
    resultado_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* botones = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    botones->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Aceptar"));
    botones->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancelar"));

    auto* capas = new QVBoxLayout(this);
    capas->addWidget(enEsteEquipo_);
    capas->addWidget(enServidor_);
    capas->addLayout(campos);
    capas->addLayout(acciones);
    capas->addWidget(resultado_);
    capas->addWidget(botones);

    connect(enServidor_, &QRadioButton::toggled, this,
            &VentanaRegistroCompartido::ActualizarCampos);
    connect(probar_, &QPushButton::clicked, this, &VentanaRegistroCompartido::Probar);
    connect(copiar_, &QPushButton::clicked, this, &VentanaRegistroCompartido::PreguntarCopia);
    connect(botones, &QDialogButtonBox::accepted, this, &VentanaRegistroCompartido::accept);
    connect(botones, &QDialogButtonBox::rejected, this, &VentanaRegistroCompartido::reject);

    Mostrar(UriGuardada());
}

void VentanaRegistroCompartido::Mostrar(const QString& uri) {
    leidos_ = LeerDatosServidor(uri);
    servidor_->setText(leidos_.servidor);
    puerto_->setValue(leidos_.puerto);
    base_->setText(leidos_.base);
    usuario_->setText(leidos_.usuario);
    // A mode written by hand that the list lacks is shown as it is, and kept.
    int modo = cifrado_->findData(leidos_.cifrado);
    if (modo < 0) {
        cifrado_->addItem(leidos_.cifrado, leidos_.cifrado);
        modo = cifrado_->count() - 1;
    }
    cifrado_->setCurrentIndex(modo);
    const bool enServidor = dialecto::EsUri(uri);
    (enServidor ? enServidor_ : enEsteEquipo_)->setChecked(true);
    if (!leidos_.clave.isEmpty())
        resultado_->setText(QStringLiteral(
            "La dirección guardada lleva la contraseña escrita: al aceptar se quitará de los "
            "ajustes. Guárdela en ~/.pgpass para las próximas veces."));
    ActualizarCampos();
}

void VentanaRegistroCompartido::ActualizarCampos() {
    const bool enServidor = enServidor_->isChecked();
    for (QWidget* w : {static_cast<QWidget*>(servidor_), static_cast<QWidget*>(puerto_),
                       static_cast<QWidget*>(base_), static_cast<QWidget*>(usuario_),
                       static_cast<QWidget*>(cifrado_), static_cast<QWidget*>(clave_),
                       static_cast<QWidget*>(guardarClave_)})
        w->setEnabled(enServidor);
    probar_->setEnabled(enServidor && !ocupado_);
    copiar_->setEnabled(enServidor && !ocupado_);
}

QString VentanaRegistroCompartido::Uri() {
    DatosServidor d = leidos_;
    d.servidor = servidor_->text();
    d.puerto = puerto_->value();
    d.base = base_->text();
    d.usuario = usuario_->text();
    d.cifrado = cifrado_->currentData().toString();
    QString error;
    const QString uri = UriDeDatos(d, error);
    if (uri.isEmpty())
        resultado_->setText(error);
    return uri;
}

QString VentanaRegistroCompartido::UriParaConectar(const QString& uri) const {
    return UriConClave(uri, clave_->text().isEmpty() ? leidos_.clave : clave_->text());
}

void VentanaRegistroCompartido::Probar() {
    const QString uri = Uri();
    if (uri.isEmpty())
        return;
    EnSegundoPlano(QStringLiteral("Conectando con %1…").arg(uri),
                   [conectar = UriParaConectar(uri)] { return ProbarRegistro(conectar); });
}

void VentanaRegistroCompartido::PreguntarCopia() {
    const QString uri = Uri();
    if (uri.isEmpty())
        return;
    auto* pregunta = new QMessageBox(
        QMessageBox::Question, QStringLiteral("Copiar los recibos al servidor"),
        QStringLiteral("Se copiarán todos los recibos, listas, cobros y registros de facturación "
                       "del registro de este equipo (%1) al registro del servidor %2.\n\nSolo se "
                       "copia a un registro que no tiene recibos; el de este equipo no cambia.")
            .arg(QDir::toNativeSeparators(archivo_), uri),
        QMessageBox::NoButton, this);
    pregunta->setObjectName(QStringLiteral("confirmarCopia"));
    pregunta->setAttribute(Qt::WA_DeleteOnClose);
    QPushButton* si = pregunta->addButton(QStringLiteral("Copiar"), QMessageBox::AcceptRole);
    pregunta->addButton(QStringLiteral("Cancelar"), QMessageBox::RejectRole);
    si->setObjectName(QStringLiteral("copiarSi"));
    connect(si, &QPushButton::clicked, this, [this, uri] {
        EnSegundoPlano(QStringLiteral("Copiando los recibos de este equipo a %1…").arg(uri),
                       [archivo = archivo_, conectar = UriParaConectar(uri)] {
                           QString error;
                           qint64 recibos = 0;
                           if (!CopiarRegistro(archivo, conectar, error, &recibos))
                               return QStringLiteral("No se ha copiado nada: %1.").arg(error);
                           return QStringLiteral("Copiados %1 recibos de este equipo al "
                                                 "registro del servidor.")
                               .arg(recibos);
                       });
    });
    pregunta->open();
}

void VentanaRegistroCompartido::EnSegundoPlano(const QString& aviso,
                                               std::function<QString()> trabajo) {
    ocupado_ = true;
    ActualizarCampos();
    resultado_->setText(aviso);
    // The thread owns nothing of the window: closed meanwhile, the window just never hears
    // the answer, and the thread ends within the server's longest wait and deletes itself.
    auto respuesta = std::make_shared<QString>();
    QThread* hilo =
        QThread::create([trabajo = std::move(trabajo), respuesta] { *respuesta = trabajo(); });
    connect(hilo, &QThread::finished, this, [this, respuesta] {
        ocupado_ = false;
        ActualizarCampos();
        resultado_->setText(*respuesta);
    });
    connect(hilo, &QThread::finished, hilo, &QObject::deleteLater);
    hilo->start();
}

void VentanaRegistroCompartido::accept() {
    if (!enServidor_->isChecked()) {
        platform::SettingsStore ajustes;
        ajustes.Remove(platform::kTalveroSection, kClaveRegistro);
        if (!ajustes.Flush()) {
            resultado_->setText(QStringLiteral("No se han podido guardar los ajustes: %1.")
                                    .arg(QString::fromStdString(ajustes.Problem())));
            return;
        }
        QDialog::accept();
        return;
    }
    const QString uri = Uri();
    if (uri.isEmpty()) {
        // The field the message names.
        if (servidor_->text().trimmed().isEmpty())
            servidor_->setFocus();
        else if (usuario_->text().trimmed().isEmpty())
            usuario_->setFocus();
        else
            base_->setFocus();
        return;
    }
    if (Guardar(uri))
        QDialog::accept();
}

bool VentanaRegistroCompartido::Guardar(const QString& uri) {
    const QString clave = clave_->text().isEmpty() ? leidos_.clave : clave_->text();
    if (guardarClave_->isChecked()) {
        if (clave.isEmpty()) {
            resultado_->setText(QStringLiteral("Escriba la contraseña («Contraseña») para "
                                               "guardarla en ~/.pgpass."));
            clave_->setFocus();
            return false;
        }
        QString error;
        if (!GuardarEnPgpass(RutaPgpass(),
                             {servidor_->text().trimmed(), base_->text().trimmed(),
                              usuario_->text().trimmed(), clave, puerto_->value()},
                             error)) {
            resultado_->setText(error);
            return false;
        }
    }
    platform::SettingsStore ajustes;
    ajustes.WriteString(platform::kTalveroSection, kClaveRegistro, uri.toStdString());
    if (!ajustes.Flush()) {
        resultado_->setText(QStringLiteral("No se han podido guardar los ajustes: %1.")
                                .arg(QString::fromStdString(ajustes.Problem())));
        return false;
    }
    if (!clave.isEmpty())
        RecordarClaveDeSesion(uri, clave);
    return true;
}

bool MostrarRegistroCompartido(QWidget* parent) {
    const QString antes = Registro::Ubicacion();
    VentanaRegistroCompartido ventana(Registro::RutaPorDefecto(), parent);
    ventana.exec();
    return Registro::Ubicacion() != antes;
}

} // namespace registro
