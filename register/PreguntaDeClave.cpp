#include "register/PreguntaDeClave.h"

#include "register/ConexionEnSegundoPlano.h"
#include "register/MotivoPostgres.h"
#include "register/UriPostgres.h"

#include <QApplication>
#include <QInputDialog>
#include <QSet>
#include <QUrl>

namespace registro {

namespace {

// Both used on the windows' thread only.
PreguntarClave& PreguntaInstalada() {
    static PreguntarClave pregunta;
    return pregunta;
}

// The registers, by their URI without a password, whose question the user cancelled.
QSet<QString>& ClavesCanceladas() {
    static QSet<QString> cancelados;
    return cancelados;
}

} // namespace

void InstalarPreguntaDeClave(PreguntarClave pregunta) {
    PreguntaInstalada() = std::move(pregunta);
}

std::optional<QString> PreguntarClaveConDialogo(const PreguntaClave& p) {
    QInputDialog dialogo(QApplication::activeWindow());
    dialogo.setObjectName(QStringLiteral("claveRegistro"));
    dialogo.setWindowTitle(QStringLiteral("Registro en el servidor"));
    dialogo.setInputMode(QInputDialog::TextInput);
    dialogo.setTextEchoMode(QLineEdit::Password);
    dialogo.setLabelText(
        (p.rechazada ? QStringLiteral("El servidor no ha aceptado la contraseña escrita.\n")
                     : QString()) +
        QStringLiteral("Escriba la contraseña del usuario «%1» para la base de datos «%2» del "
                       "servidor %3.\nNo se guarda: se pide una vez cada vez que se abre "
                       "Talvero.")
            .arg(p.usuario, p.base, p.servidor));
    if (dialogo.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialogo.textValue();
}

bool PedirClave(const QString& uri, const QString& mensaje) {
    if (!PreguntaInstalada() || !EnHiloDeVentanas() || !EsFalloDeClave(mensaje) ||
        !QUrl(uri).password().isEmpty() || ClavesCanceladas().contains(UriSinClave(uri)))
        return false;
    const ConexionPostgres c = LeerUriPostgres(uri);
    PreguntaClave p;
    p.servidor = c.puerto > 0 ? QStringLiteral("%1:%2").arg(c.servidor).arg(c.puerto) : c.servidor;
    p.usuario = c.usuario;
    p.base = c.base;
    // A password of this run that the server refuses was typed wrong (or changed since).
    p.rechazada = !ClaveDeSesion(uri).isEmpty();
    const EsperaDeServidor espera;
    const std::optional<QString> clave = PreguntaInstalada()(p);
    if (!clave) {
        ClavesCanceladas().insert(UriSinClave(uri));
        return false;
    }
    RecordarClaveDeSesion(uri, *clave);
    return true;
}

void PermitirPreguntarClave(const QString& uri) {
    ClavesCanceladas().remove(UriSinClave(uri));
}

} // namespace registro
