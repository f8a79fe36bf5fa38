// The files of a list and the register, kept in agreement whatever happens: a list's
// receipts are recorded first, as pending, with the files they go to; the files are written
// under temporary names, marked complete, and then put at their names without replacing
// anything. A program killed at any moment leaves a pending list, which the next emission
// finds: one whose files were all complete is finished (its files put in place), any other
// is taken back (its temporary files removed, its rows deleted). So a file of the list is at
// its name exactly when the register holds the list, and a remittance exactly when the
// register holds its receipts with its MsgId.
#pragma once

#include "register/Registro.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class QIODevice;

namespace registro {

// The token of an emission in progress: a lock file in the folder "emisiones" beside the
// register, held while the program lives. The kernel lets go of the lock however the
// program ends, kill -9 included, so a pending list whose token no one holds belongs to a
// program that died.
// On a register on a PostgreSQL server, which other desks share, the token is a lock of the
// server held by a connection of the program's own: the server lets go of it when the
// program ends however it ends, and every desk sees it.
class Testigo {
public:
    explicit Testigo(const QString& rutaRegistro);
    ~Testigo();
    Testigo(const Testigo&) = delete;
    Testigo& operator=(const Testigo&) = delete;

    bool Tomado() const { return fd_ >= 0 || servidor_ != nullptr; }
    const QString& Nombre() const { return nombre_; }
    const QString& Error() const { return error_; }

private:
    int fd_ = -1;
    QString nombre_, ruta_, error_;
    std::unique_ptr<Registro> servidor_;
};

// Whether the emission with token `nombre` still runs.
bool TestigoVivo(const QString& rutaRegistro, const QString& nombre);

// The temporary name beside `destino` for the emission `testigo`: hidden, and telling whose.
QString NombreTemporal(const QString& destino, const QString& testigo);

// Writes `datos` to `ruta`, which must not exist yet, down to the disk. Empty on success, or
// why not in Spanish; a failure leaves nothing at `ruta`.
QString EscribirTemporal(const QString& ruta, const QByteArray& datos);
// The same for a file made as it is written: `escribir` writes into the open file and returns
// false to stop (the file is then removed and the result is empty: the caller knows why).
QString EscribirTemporal(const QString& ruta, const std::function<bool(QIODevice&)>& escribir);

// The identity of the file at `ruta` (device and inode), or empty when there is none.
QString Identidad(const QString& ruta);

// Puts every complete file of a list at its name, never replacing a file there unless the
// user chose to. Empty on success. Otherwise nothing of the list is left at any name (the
// files already put in place are taken away again) and the reason is returned.
QString Colocar(const std::vector<Registro::Salida>& salidas);

// Removes the temporary files that are still there.
void BorrarTemporales(const std::vector<Registro::Salida>& salidas);

// Finishes or takes back the lists left pending by programs that died, as said above, and
// returns a sentence for the user about each one.
QStringList RecuperarPendientes(Registro& registro);

} // namespace registro
