// The password of a register's server when libpq finds none (~/.pgpass, PGPASSFILE,
// PGPASSWORD) or the one it finds is refused: asked in the windows once per run for each
// register, and kept in memory for the run (RecordarClaveDeSesion, register/UriPostgres.h).
// The command line never asks. Every connection goes through Registro::ConectarServidor,
// which calls PedirClave: the one place where it is asked.
#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace registro {

// What the question names, and whether the password typed before was just refused.
struct PreguntaClave {
    QString servidor, usuario, base;
    bool rechazada = false;
};
// The password typed, or nothing when the user cancels.
using PreguntarClave = std::function<std::optional<QString>(const PreguntaClave&)>;

// Installed by the module when the windows load it (salida/ModuloSalida.cpp).
void InstalarPreguntaDeClave(PreguntarClave pregunta);
// The question as a password dialog (objectName "claveRegistro") over the active window.
std::optional<QString> PreguntarClaveConDialogo(const PreguntaClave& pregunta);

// After a connection to `uri` failed with libpq's `mensaje`: when the server refused for
// want of the right password, the URI carries none and a question is installed, asks on the
// windows' thread, unless the user already cancelled it this run. Whether there is a new
// password to try.
bool PedirClave(const QString& uri, const QString& mensaje);
// The user asked to connect again: a question cancelled before may be asked again.
void PermitirPreguntarClave(const QString& uri);

} // namespace registro
